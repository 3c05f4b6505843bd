#include "toolkit/string_grid.h"

#include "toolkit/error_display.h"
#include "toolkit/text_box.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

#include <algorithm>
#include <utility>

namespace {

// The start of the UTF-8 character that byte `at` belongs to.
size_t startOfCharacter(const std::string& text, size_t at) {
    while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        --at;
    return at;
}

// What a cell paints: a text longer than any column can show keeps only its
// start and its end, so a huge text paints as fast as a short one.
QString shownText(const std::string& text) {
    constexpr size_t kEachEnd = 400; // bytes; wider than a screen of text
    if (text.size() <= 2 * kEachEnd)
        return QString::fromStdString(text);
    const size_t headEnd = startOfCharacter(text, kEachEnd);
    const size_t tailStart = startOfCharacter(text, text.size() - kEachEnd);
    return QString::fromUtf8(text.data(), qsizetype(headEnd)) + QChar(0x2026) +
           QString::fromUtf8(text.data() + tailStart, qsizetype(text.size() - tailStart));
}

// Cells elide in the middle, and their editors take no more than a box does.
class CellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // A number too wide for its cell keeps its sign, first digits and
    // exponent. Elided here, where the cell's width is known: the style's own
    // elision cuts a text of digits at its point ("0.…").
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QWidget* view = option->widget;
        const int margins =
            2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
        option->text = option->fontMetrics.elidedText(option->text, Qt::ElideMiddle,
                                                      option->rect.width() - margins);
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* box = qobject_cast<QLineEdit*>(editor))
            limitLength(*box, "a cell");
        return editor;
    }
};

} // namespace

// Qt's view of a grid: only the non-fixed cells are items; the fixed row and
// column are header data. The model reads the grid's table, and keeps only
// the sizes the view was last told, so that the view and the model agree
// until sync() brings in the table's new sizes.
class StringGridModel : public QAbstractTableModel {
  public:
    explicit StringGridModel(StringGrid& grid)
        : QAbstractTableModel(&grid), grid(grid), shownCols(grid.table.colCount()),
          shownRows(grid.table.rowCount()) {}

    bool editable = true;

    // Grid coordinates of a Qt index, and back.
    int gridCol(const QModelIndex& index) const { return index.column() + grid.fixed; }
    int gridRow(const QModelIndex& index) const { return index.row() + 1; }
    QModelIndex indexOf(int col, int row) const { return index(row - 1, col - grid.fixed); }

    // Tells the view the table's sizes, then every text.
    void showTable() {
        const int rows = grid.table.rowCount(), cols = grid.table.colCount();
        if (rows > shownRows) {
            beginInsertRows({}, shownRows - 1, rows - 2);
            shownRows = rows;
            endInsertRows();
        } else if (rows < shownRows) {
            beginRemoveRows({}, rows - 1, shownRows - 2);
            shownRows = rows;
            endRemoveRows();
        }
        if (cols > shownCols) {
            beginInsertColumns({}, shownCols - grid.fixed, cols - grid.fixed - 1);
            shownCols = cols;
            endInsertColumns();
        } else if (cols < shownCols) {
            beginRemoveColumns({}, cols - grid.fixed, shownCols - grid.fixed - 1);
            shownCols = cols;
            endRemoveColumns();
        }
        refresh();
    }

    void refresh() {
        grid.refreshPending = false;
        if (shownRows > 1 && shownCols > grid.fixed)
            emit dataChanged(index(0, 0), index(shownRows - 2, shownCols - grid.fixed - 1));
        emit headerDataChanged(Qt::Horizontal, 0, shownCols - grid.fixed - 1);
        if (shownRows > 1)
            emit headerDataChanged(Qt::Vertical, 0, shownRows - 2);
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : shownRows - 1;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : shownCols - grid.fixed;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const std::string& text = grid.table.cell(gridCol(index), gridRow(index));
        switch (role) {
        case Qt::DisplayRole:
            return shownText(text);
        case Qt::EditRole:
            return QString::fromStdString(text);
        case Qt::ToolTipRole: { // the whole text, however narrow the column, and any note
            const auto mark = grid.marks.find({gridCol(index), gridRow(index)});
            const std::string tip = mark == grid.marks.end() ? text
                                    : text.empty()           ? mark->second
                                                             : text + "\n" + mark->second;
            return tip.empty() ? QVariant() : QString::fromStdString(tip);
        }
        case Qt::BackgroundRole: // a tint, never the only sign: the tooltip says why
            return grid.marks.contains({gridCol(index), gridRow(index)})
                       ? QVariant(QColor(255, 224, 160))
                       : QVariant();
        default:
            return {};
        }
    }

    // An edit: the user's typing, or what the window puts in on its behalf.
    // A text longer than a cell holds is refused, as the cell's editor does.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        const QString text = value.toString();
        if (role != Qt::EditRole || text.size() > kMaxTextLength)
            return false;
        grid.userEdit([&] { grid.table.setCell(gridCol(index), gridRow(index), text.toStdString()); });
        emit dataChanged(index, index);
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex&) const override {
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable |
               (editable ? Qt::ItemIsEditable : Qt::NoItemFlags);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Horizontal)
            return QString::fromStdString(grid.table.cell(section + grid.fixed, 0));
        return grid.fixed ? QString::fromStdString(grid.table.cell(0, section + 1)) : QVariant();
    }

  private:
    StringGrid& grid;
    int shownCols;
    int shownRows;
};

StringGrid::StringGrid(int colCount, int fixedCols, QWidget* parent)
    : QTableView(parent), table(colCount, 2), fixed(fixedCols),
      itemModel(new StringGridModel(*this)), currentCol(fixedCols) {
    setModel(itemModel);
    setItemDelegate(new CellDelegate(this));
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

void StringGrid::scheduleRefresh() {
    if (std::exchange(refreshPending, true))
        return;
    QMetaObject::invokeMethod(
        itemModel, [this] { itemModel->refresh(); }, Qt::QueuedConnection);
}

void StringGrid::setCell(int col, int row, std::string text) {
    table.setCell(col, row, std::move(text));
    scheduleRefresh();
}

void StringGrid::sync() {
    const int lastRow = std::max(table.rowCount() - 1, 1);
    const int lastCol = std::max(table.colCount() - 1, fixed);
    if (currentRow > lastRow || currentCol > lastCol)
        moveCurrent(std::min(currentCol, lastCol), std::min(currentRow, lastRow));
    itemModel->showTable();
}

void StringGrid::setRow(int row) {
    if (row >= 1 && row < table.rowCount())
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
    const QRect cells = selectedCells();
    CellBlock block;
    for (int r = cells.top(); r <= cells.bottom(); ++r) {
        block.emplace_back();
        for (int c = cells.left(); c <= cells.right(); ++c)
            block.back().push_back(table.cell(c, r));
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
    else if (onPaste)
        onPaste(parseCellBlock(text.toStdString()), source);
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

void StringGrid::restore(CellTable cells, int col, int row) {
    table = std::move(cells);
    quiet = true;
    sync();
    moveCurrent(col, row);
    quiet = false;
}

void StringGrid::setMarks(CellNotes notes) {
    if (notes == marks)
        return;
    marks = std::move(notes);
    scheduleRefresh();
}

void StringGrid::setColWidth(int col, int width) {
    if (col < fixed)
        verticalHeader()->setFixedWidth(width);
    else
        setColumnWidth(col - fixed, width);
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
