#pragma once

#include <QTableView>

#include <functional>
#include <string>
#include <vector>

class StringGridModel;

// A grid of text cells addressed (column, row) from 0, as the window's
// handlers see it: row 0 is the fixed header row, and a grid made with one
// fixed column keeps column 0 as row labels. Fixed cells show as the view's
// headers and can be neither selected nor edited; the rest show their text
// exactly as stored.
//
// Cells live in the grid's own model, so writing one costs a string
// assignment; the view repaints once when control returns to the event loop.
class StringGrid : public QTableView {
    Q_OBJECT
  public:
    // Starts with `colCount` columns, 2 rows, and the current cell at the
    // first non-fixed cell of row 1.
    StringGrid(int colCount, int fixedCols, QWidget* parent = nullptr);

    // A cell outside the grid reads as empty, and writing one does nothing.
    const std::string& cell(int col, int row) const;
    void setCell(int col, int row, std::string text);
    void clearRow(int row);

    int colCount() const;
    int rowCount() const;
    int fixedCols() const;
    // Resizing keeps the cells that remain. When it removes the current cell,
    // the current cell first moves to the new last row or column.
    void setColCount(int count);
    void setRowCount(int count);

    // The current cell. Moving it to another cell raises onSelectCell first.
    int col() const { return currentCol; }
    int row() const { return currentRow; }
    void setRow(int row);

    // Raised whenever the current cell moves to another cell: by mouse,
    // keyboard or setRow. Never raised when it stays.
    std::function<void(int col, int row)> onSelectCell;

    // Column widths in grid columns; the fixed column is the row-label width.
    void setColWidth(int col, int width);
    void setEditable(bool editable);

    // Writes an open cell editor's text into its cell and closes it, so a
    // handler never reads the text from before the user's typing.
    void commitEdit();

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  private:
    void moveCurrent(int col, int row);

    StringGridModel* cells;
    int currentCol;
    int currentRow = 1;
};
