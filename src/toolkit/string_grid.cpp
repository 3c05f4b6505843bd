#include "toolkit/string_grid.h"

#include "toolkit/cell_delegate.h"
#include "toolkit/error_display.h"
#include "toolkit/string_grid_model.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>
#include <optional>
#include <utility>

StringGrid::StringGrid(int colCount, int fixedCols, QWidget* parent)
    : QTableView(parent), itemModel(new StringGridModel(colCount, fixedCols, *this)),
      currentCol(fixedCols) {
    itemModel->setParent(this);
    itemModel->runEdit = [this](const std::function<void()>& edit) { userEdit(edit); };
    setModel(itemModel);
    setItemDelegate(new CellDelegate(this));
    // Without focus the selection is muted, so Tab shows which grid it enters.
    QPalette muted = palette();
    muted.setColor(QPalette::Inactive, QPalette::Highlight,
                   mixed(muted.color(QPalette::Base), muted.color(QPalette::Highlight), 0.3));
    muted.setColor(QPalette::Inactive, QPalette::HighlightedText, muted.color(QPalette::Text));
    setPalette(muted);
    // Tab leaves the grid for the next control; the arrow keys move among cells.
    setTabKeyNavigation(false);
    setSelectionMode(ContiguousSelection);
    setEditTriggers(AnyKeyPressed | DoubleClicked | EditKeyPressed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultSectionSize(24);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setVisible(fixedCols > 0);
    horizontalHeader()->setDefaultSectionSize(64);
    setCurrentIndex(itemModel->indexOf(currentCol, currentRow)); // already current: no event
}

void StringGrid::sync() {
    const int lastRow = std::max(cells().rowCount() - 1, 1);
    const int lastCol = std::max(cells().colCount() - 1, fixedCols());
    if (currentRow > lastRow || currentCol > lastCol)
        moveCurrent(std::min(currentCol, lastCol), std::min(currentRow, lastRow));
    itemModel->showTable();
}

void StringGrid::setRow(int row) {
    if (row < 1 || row >= cells().rowCount())
        return;
    if (row >= itemModel->rowCount())
        itemModel->showTable(); // a row the table has grown by is shown first
    moveCurrent(currentCol, row);
}

void StringGrid::moveCurrent(int col, int row) {
    setCurrentIndex(itemModel->indexOf(col, row));
}

void StringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    const int col = itemModel->gridCol(current), row = itemModel->gridRow(current);
    if (col == currentCol && row == currentRow)
        return;
    currentCol = col;
    currentRow = row;
    if (onSelectCell && !quiet)
        onSelectCell(col, row);
}

QRect StringGrid::selectedCells() const {
    QRect cells(currentCol, currentRow, 1, 1);
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return cells;
    cells = QRect(itemModel->gridCol(selected.first()), itemModel->gridRow(selected.first()), 1, 1);
    for (const QModelIndex& index : selected)
        cells |= QRect(itemModel->gridCol(index), itemModel->gridRow(index), 1, 1);
    return cells;
}

CellBlock StringGrid::selectedBlock() const {
    const QRect selected = selectedCells();
    CellBlock block;
    for (int r = selected.top(); r <= selected.bottom(); ++r) {
        block.emplace_back();
        for (int c = selected.left(); c <= selected.right(); ++c)
            block.back().push_back(cells().cell(c, r));
    }
    return block;
}

void StringGrid::pasteBlock(const CellBlock& block) {
    for (size_t r = 0; r < block.size(); ++r)
        for (size_t c = 0; c < block[r].size(); ++c)
            setCell(currentCol + int(c), currentRow + int(r), block[r][c]);
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy))
        copySelection();
    else if (event->matches(QKeySequence::Cut))
        cutSelection();
    else if (event->matches(QKeySequence::Paste))
        pasteText(QApplication::clipboard()->text());
    else if (event->key() == Qt::Key_Delete)
        deleteSelection();
    else
        QTableView::keyPressEvent(event);
}

void StringGrid::copySelection() {
    QApplication::clipboard()->setText(QString::fromStdString(cellBlockText(selectedBlock())));
}

void StringGrid::cutSelection() {
    copySelection();
    deleteSelection();
}

void StringGrid::pasteText(const QString& text, const std::string& source) {
    if (!itemModel->editable)
        return;
    if (text.size() > kMaxPasteLength)
        showError(QString("The %1 holds %2 characters, but a paste into a table takes "
                          "at most %3.")
                      .arg(QString::fromStdString(source))
                      .arg(text.size())
                      .arg(kMaxPasteLength));
    else if (std::optional<ReadBlock> block;
             guarded([&] { block = parseCellBlock(text.toStdString()); }) && onPaste)
        onPaste(*block, source); // a block the reader refuses is shown as its error
}

void StringGrid::deleteSelection() {
    if (!itemModel->editable)
        return;
    userEdit([this] {
        const QRect cells = selectedCells();
        for (int r = cells.top(); r <= cells.bottom(); ++r)
            for (int c = cells.left(); c <= cells.right(); ++c)
                setCell(c, r, {});
    });
}

void StringGrid::userEdit(const std::function<void()>& edit) {
    if (onUserEdit)
        onUserEdit(edit);
    else
        edit();
}

void StringGrid::restore(CellTable table, int col, int row) {
    itemModel->cells() = std::move(table);
    quiet = true;
    sync();
    moveCurrent(col, row);
    quiet = false;
}

void StringGrid::setColWidth(int col, int width) {
    if (col < fixedCols())
        verticalHeader()->setFixedWidth(width);
    else
        setColumnWidth(col - fixedCols(), width);
}

void StringGrid::setEditable(bool editable) {
    itemModel->editable = editable;
}

void StringGrid::commitEdit() {
    QWidget* editor = focusWidget();
    if (state() != EditingState || !editor || editor == this || editor == viewport())
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}
