#pragma once

#include <string>
#include <vector>

// A table of text cells addressed (column, row) from 0, as the window's grids
// hold them: a plain value that the rules read and write, and that a
// StringGrid shows. Row 0 is the header row; a grid's fixed column is
// column 0. A cell outside the table reads as empty, and writing one does
// nothing.
class CellTable {
  public:
    CellTable(int colCount, int rowCount);

    // Inline: the solver reads and writes millions of cells a click.
    const std::string& cell(int col, int row) const {
        static const std::string empty;
        return contains(col, row) ? texts[index(col, row)] : empty;
    }
    void setCell(int col, int row, std::string text) {
        if (contains(col, row))
            texts[index(col, row)] = std::move(text);
    }
    void clearRow(int row);

    int colCount() const { return cols; }
    int rowCount() const { return rows; }
    // Resizing keeps the cells that remain; new cells are empty.
    void setColCount(int count);
    void setRowCount(int count);

    bool operator==(const CellTable&) const = default;

  private:
    bool contains(int col, int row) const {
        return col >= 0 && row >= 0 && col < cols && row < rows;
    }
    size_t index(int col, int row) const { return size_t(row) * cols + col; }

    int cols;
    int rows;
    std::vector<std::string> texts; // row by row
};
