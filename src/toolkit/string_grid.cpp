#include "toolkit/string_grid.h"

#include <QAbstractTableModel>
#include <QHeaderView>

#include <algorithm>

// Cells in row-major order. Qt sees only the non-fixed cells; the fixed row
// and column are its header data.
class StringGridModel : public QAbstractTableModel {
  public:
    StringGridModel(int colCount, int fixedCols, QObject* parent)
        : QAbstractTableModel(parent), cols(colCount), fixed(fixedCols),
          cells(size_t(cols) * rows) {}

    int cols;
    int rows = 2;
    const int fixed;
    bool editable = true;

    bool contains(int col, int row) const {
        return col >= 0 && row >= 0 && col < cols && row < rows;
    }
    std::string& at(int col, int row) { return cells[size_t(row) * cols + col]; }
    const std::string& at(int col, int row) const { return cells[size_t(row) * cols + col]; }

    // Grid coordinates of a Qt index, and back.
    int gridCol(const QModelIndex& index) const { return index.column() + fixed; }
    int gridRow(const QModelIndex& index) const { return index.row() + 1; }
    QModelIndex indexOf(int col, int row) const { return index(row - 1, col - fixed); }

    void touch() {
        if (refreshPending)
            return;
        refreshPending = true;
        QMetaObject::invokeMethod(this, [this] { refresh(); }, Qt::QueuedConnection);
    }

    void resizeRows(int count) {
        if (count > rows)
            beginInsertRows({}, rows - 1, count - 2);
        else
            beginRemoveRows({}, count - 1, rows - 2);
        cells.resize(size_t(count) * cols);
        const bool grew = count > rows;
        rows = count;
        grew ? endInsertRows() : endRemoveRows();
    }

    void resizeCols(int count) {
        const bool grew = count > cols;
        if (grew)
            beginInsertColumns({}, cols - fixed, count - fixed - 1);
        else
            beginRemoveColumns({}, count - fixed, cols - fixed - 1);
        std::vector<std::string> reshaped(size_t(count) * rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < std::min(cols, count); ++c)
                reshaped[size_t(r) * count + c] = std::move(at(c, r));
        cells = std::move(reshaped);
        cols = count;
        grew ? endInsertColumns() : endRemoveColumns();
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : rows - 1;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : cols - fixed;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        return QString::fromStdString(at(gridCol(index), gridRow(index)));
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::EditRole)
            return false;
        at(gridCol(index), gridRow(index)) = value.toString().toStdString();
        emit dataChanged(index, index);
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex&) const override {
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | (editable ? Qt::ItemIsEditable : Qt::NoItemFlags);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Horizontal)
            return QString::fromStdString(at(section + fixed, 0));
        return fixed ? QString::fromStdString(at(0, section + 1)) : QVariant();
    }

  private:
    void refresh() {
        refreshPending = false;
        if (rows > 1 && cols > fixed)
            emit dataChanged(index(0, 0), index(rows - 2, cols - fixed - 1));
        emit headerDataChanged(Qt::Horizontal, 0, cols - fixed - 1);
        if (rows > 1)
            emit headerDataChanged(Qt::Vertical, 0, rows - 2);
    }

    std::vector<std::string> cells;
    bool refreshPending = false;
};

StringGrid::StringGrid(int colCount, int fixedCols, QWidget* parent)
    : QTableView(parent), cells(new StringGridModel(colCount, fixedCols, this)),
      currentCol(fixedCols) {
    setModel(cells);
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
    setCurrentIndex(cells->indexOf(currentCol, currentRow)); // matches: no event
}

const std::string& StringGrid::cell(int col, int row) const {
    static const std::string empty;
    return cells->contains(col, row) ? cells->at(col, row) : empty;
}

void StringGrid::setCell(int col, int row, std::string text) {
    if (!cells->contains(col, row))
        return;
    cells->at(col, row) = std::move(text);
    cells->touch();
}

void StringGrid::clearRow(int row) {
    for (int c = 0; c < colCount(); ++c)
        setCell(c, row, {});
}

int StringGrid::colCount() const { return cells->cols; }
int StringGrid::rowCount() const { return cells->rows; }
int StringGrid::fixedCols() const { return cells->fixed; }

void StringGrid::setRowCount(int count) {
    count = std::max(count, 2);
    if (count == rowCount())
        return;
    if (currentRow >= count)
        moveCurrent(currentCol, count - 1);
    cells->resizeRows(count);
    cells->touch();
}

void StringGrid::setColCount(int count) {
    count = std::max(count, fixedCols() + 1);
    if (count == colCount())
        return;
    if (currentCol >= count)
        moveCurrent(count - 1, currentRow);
    cells->resizeCols(count);
    cells->touch();
}

void StringGrid::setRow(int row) {
    if (row >= 1 && row < rowCount())
        moveCurrent(currentCol, row);
}

void StringGrid::moveCurrent(int col, int row) {
    setCurrentIndex(cells->indexOf(col, row));
}

void StringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    const int col = cells->gridCol(current), row = cells->gridRow(current);
    if (col == currentCol && row == currentRow)
        return;
    currentCol = col;
    currentRow = row;
    if (onSelectCell)
        onSelectCell(col, row);
}

void StringGrid::setColWidth(int col, int width) {
    if (col < fixedCols())
        verticalHeader()->setFixedWidth(width);
    else
        setColumnWidth(col - fixedCols(), width);
}

void StringGrid::setEditable(bool editable) { cells->editable = editable; }

void StringGrid::commitEdit() {
    QWidget* editor = focusWidget();
    if (state() != EditingState || !editor || editor == this || editor == viewport())
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}
