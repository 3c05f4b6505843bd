#pragma once

#include "toolkit/cell_block.h"
#include "toolkit/string_grid_model.h"

#include <QTableView>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// The most one paste may bring into a grid, in characters: a full table of
// the longest numbers is a few thousand.
inline constexpr int kMaxPasteLength = 1 << 20;

// A grid that shows its model's CellTable and lets the user edit it: row 0 is the
// fixed header row, and a grid made with one fixed column keeps column 0 as
// row labels. Fixed cells show as the view's headers and can be neither
// selected nor edited; the rest show their text, cut in the middle when it
// does not fit. The model (string_grid_model) owns the cells; the grid
// handles keys and selection, keeps the current cell and raises the
// selection event when it moves.
//
// The rules change the table through cells(); sync() then tells the view.
class StringGrid : public QTableView {
    Q_OBJECT
  public:
    // Starts with `colCount` columns, 2 rows, and the current cell at the
    // first non-fixed cell of row 1.
    StringGrid(int colCount, int fixedCols, QWidget* parent = nullptr);

    const CellTable& cells() const { return itemModel->cells(); }
    // For changing the table; call sync() when done.
    CellTable& cells() { return itemModel->cells(); }
    // Shows the table as it now is. When it has lost the current cell's row
    // or column, the current cell first moves to the new last one.
    void sync();
    // Writes one cell and shows it once control returns to the event loop.
    void setCell(int col, int row, std::string text) {
        itemModel->setCell(col, row, std::move(text));
    }

    int fixedCols() const { return itemModel->fixedCols(); }

    // The current cell; setRow raises onSelectCell when the row changes.
    int col() const { return currentCol; }
    int row() const { return currentRow; }
    void setRow(int row);

    // Raised whenever the current cell moves to another cell: by mouse,
    // keyboard, setRow or sync. Never raised when it stays.
    std::function<void(int col, int row)> onSelectCell;

    // Ctrl+V on an editable grid: the clipboard's block, for the owner to
    // check and put in with pasteBlock; `source` is what messages call the
    // text's origin ("clipboard", "drop"). A text of more than
    // kMaxPasteLength characters is refused with a message before it is read.
    // Ctrl+C copies the selected block and Delete empties the selected cells
    // of an editable grid.
    std::function<void(const ReadBlock& block, const std::string& source)> onPaste;

    // The edits a user makes (typing into a cell, Delete), each run through
    // this when it is set: the owner may record them.
    std::function<void(const std::function<void()>& edit)> onUserEdit;

    // What Ctrl+C, Ctrl+X, Ctrl+V and Delete do; the last three only in an
    // editable grid. A text pasted here is read as the clipboard is.
    void copySelection();
    void cutSelection();
    void pasteText(const QString& text, const std::string& source = "clipboard");
    void deleteSelection();

    // Puts the grid back as it was: its table, and the current cell at
    // (col, row), without raising the selection event.
    void restore(CellTable table, int col, int row);

    // The selected cells (at least the current one), row by row.
    CellBlock selectedBlock() const;
    // Writes the block from the current cell rightwards and downwards; what
    // falls outside the grid is dropped, so callers check the fit first.
    void pasteBlock(const CellBlock& block);

    // Cells that need the user's attention (string_grid_model).
    using CellNotes = StringGridModel::CellNotes;
    void setMarks(CellNotes notes) { itemModel->setMarks(std::move(notes)); }
    using CellFades = StringGridModel::CellFades;
    void setFades(CellFades fades) { itemModel->setFades(std::move(fades)); }

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
    // The selection's bounds in grid coordinates: left, top, right, bottom.
    QRect selectedCells() const;
    void moveCurrent(int col, int row);
    void userEdit(const std::function<void()>& edit);

    bool quiet = false; // while restoring: moves raise no selection event
    StringGridModel* itemModel;
    int currentCol;
    int currentRow = 1;
};
