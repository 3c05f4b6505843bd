#include "toolkit/string_grid.h"

#include "toolkit/error_display.h"
#include "toolkit/text_box.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
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
// column are header data. The texts themselves stay in the grid.
class StringGridModel : public QAbstractTableModel {
  public:
    explicit StringGridModel(StringGrid& grid) : QAbstractTableModel(&grid), grid(grid) {}

    bool editable = true;

    // Grid coordinates of a Qt index, and back.
    int gridCol(const QModelIndex& index) const { return index.column() + grid.fixed; }
    int gridRow(const QModelIndex& index) const { return index.row() + 1; }
    QModelIndex indexOf(int col, int row) const { return index(row - 1, col - grid.fixed); }

    void resizeRows(int count) {
        const bool grow = count > grid.rows;
        if (grow)
            beginInsertRows({}, grid.rows - 1, count - 2);
        else
            beginRemoveRows({}, count - 1, grid.rows - 2);
        grid.texts.resize(size_t(count) * grid.cols);
        grid.rows = count;
        grow ? endInsertRows() : endRemoveRows();
    }

    void resizeCols(int count) {
        const bool grow = count > grid.cols;
        if (grow)
            beginInsertColumns({}, grid.cols - grid.fixed, count - grid.fixed - 1);
        else
            beginRemoveColumns({}, count - grid.fixed, grid.cols - grid.fixed - 1);
        std::vector<std::string> reshaped(size_t(count) * grid.rows);
        for (int r = 0; r < grid.rows; ++r)
            for (int c = 0; c < std::min(grid.cols, count); ++c)
                reshaped[size_t(r) * count + c] = std::move(grid.texts[grid.index(c, r)]);
        grid.texts = std::move(reshaped);
        grid.cols = count;
        grow ? endInsertColumns() : endRemoveColumns();
    }

    void refresh() {
        grid.refreshPending = false;
        if (grid.rows > 1 && grid.cols > grid.fixed)
            emit dataChanged(index(0, 0), index(grid.rows - 2, grid.cols - grid.fixed - 1));
        emit headerDataChanged(Qt::Horizontal, 0, grid.cols - grid.fixed - 1);
        if (grid.rows > 1)
            emit headerDataChanged(Qt::Vertical, 0, grid.rows - 2);
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : grid.rows - 1;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : grid.cols - grid.fixed;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const std::string& text = grid.cell(gridCol(index), gridRow(index));
        switch (role) {
        case Qt::DisplayRole:
            return shownText(text);
        case Qt::EditRole:
            return QString::fromStdString(text);
        case Qt::ToolTipRole: // the whole text, however narrow the column
            return text.empty() ? QVariant() : QString::fromStdString(text);
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
        grid.texts[grid.index(gridCol(index), gridRow(index))] = text.toStdString();
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
            return QString::fromStdString(grid.cell(section + grid.fixed, 0));
        return grid.fixed ? QString::fromStdString(grid.cell(0, section + 1)) : QVariant();
    }

  private:
    StringGrid& grid;
};

StringGrid::StringGrid(int colCount, int fixedCols, QWidget* parent)
    : QTableView(parent), cols(colCount), fixed(fixedCols), texts(size_t(cols) * rows),
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

void StringGrid::clearRow(int row) {
    for (int c = 0; c < cols; ++c)
        setCell(c, row, {});
}

void StringGrid::setRowCount(int count) {
    count = std::max(count, 2);
    if (count == rows)
        return;
    if (currentRow >= count)
        moveCurrent(currentCol, count - 1);
    itemModel->resizeRows(count);
    scheduleRefresh();
}

void StringGrid::setColCount(int count) {
    count = std::max(count, fixed + 1);
    if (count == cols)
        return;
    if (currentCol >= count)
        moveCurrent(count - 1, currentRow);
    itemModel->resizeCols(count);
    scheduleRefresh();
}

void StringGrid::setRow(int row) {
    if (row >= 1 && row < rows)
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
    if (onSelectCell)
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
            block.back().push_back(cell(c, r));
    }
    return block;
}

void StringGrid::pasteBlock(const CellBlock& block) {
    for (size_t r = 0; r < block.size(); ++r)
        for (size_t c = 0; c < block[r].size(); ++c)
            setCell(currentCol + int(c), currentRow + int(r), block[r][c]);
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(QString::fromStdString(cellBlockText(selectedBlock())));
    } else if (event->matches(QKeySequence::Paste) && itemModel->editable) {
        const QString text = QApplication::clipboard()->text();
        if (text.size() > kMaxPasteLength)
            showError(QString("The clipboard holds %1 characters, but a paste into a table takes "
                              "at most %2.")
                          .arg(text.size())
                          .arg(kMaxPasteLength));
        else if (onPaste)
            onPaste(parseCellBlock(text.toStdString()));
    } else if (event->key() == Qt::Key_Delete && itemModel->editable) {
        const QRect cells = selectedCells();
        for (int r = cells.top(); r <= cells.bottom(); ++r)
            for (int c = cells.left(); c <= cells.right(); ++c)
                setCell(c, r, {});
    } else {
        QTableView::keyPressEvent(event);
    }
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
