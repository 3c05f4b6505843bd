#pragma once

#include "toolkit/cell_block.h"

#include <QTableView>

#include <functional>
#include <string>
#include <vector>

class StringGridModel;

// The most one paste may bring into a grid, in characters: a full table of
// the longest numbers is a few thousand.
inline constexpr int kMaxPasteLength = 1 << 20;

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
    // Both are inline: the solver reads and writes millions of cells a click.
    const std::string& cell(int col, int row) const {
        static const std::string empty;
        return contains(col, row) ? texts[index(col, row)] : empty;
    }
    void setCell(int col, int row, std::string text) {
        if (!contains(col, row))
            return;
        texts[index(col, row)] = std::move(text);
        if (!refreshPending)
            scheduleRefresh();
    }
    void clearRow(int row);

    int colCount() const { return cols; }
    int rowCount() const { return rows; }
    int fixedCols() const { return fixed; }
    // Resizing keeps the cells that remain. When it removes the current cell,
    // the current cell first moves to the new last row or column.
    void setColCount(int count);
    void setRowCount(int count);

    // The current cell; setRow raises onSelectCell when the row changes.
    int col() const { return currentCol; }
    int row() const { return currentRow; }
    void setRow(int row);

    // Raised whenever the current cell moves to another cell: by mouse,
    // keyboard or setRow. Never raised when it stays.
    std::function<void(int col, int row)> onSelectCell;

    // Ctrl+V on an editable grid: the clipboard's block, for the owner to
    // check and put in with pasteBlock. A clipboard of more than
    // kMaxPasteLength characters is refused with a message before it is read. Ctrl+C copies the selected block and
    // Delete empties the selected cells of an editable grid.
    std::function<void(const CellBlock& block)> onPaste;

    // The selected cells (at least the current one), row by row.
    CellBlock selectedBlock() const;
    // Writes the block from the current cell rightwards and downwards; what
    // falls outside the grid is dropped, so callers check the fit first.
    void pasteBlock(const CellBlock& block);

    // Column widths in grid columns; the fixed column is the row-label width.
    void setColWidth(int col, int width);
    void setEditable(bool editable);

    // Writes an open cell editor's text into its cell and closes it, so a
    // handler never reads the text from before the user's typing.
    void commitEdit();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  private:
    friend class StringGridModel;

    bool contains(int col, int row) const {
        return col >= 0 && row >= 0 && col < cols && row < rows;
    }
    size_t index(int col, int row) const { return size_t(row) * cols + col; }
    // The selection's bounds in grid coordinates: left, top, right, bottom.
    QRect selectedCells() const;
    // Repaints the view once control returns to the event loop.
    void scheduleRefresh();
    void moveCurrent(int col, int row);

    int cols;
    int rows = 2;
    const int fixed;
    // The cells in row-major order, fixed ones included.
    std::vector<std::string> texts;
    bool refreshPending = false;
    StringGridModel* itemModel;
    int currentCol;
    int currentRow = 1;
};
