#include "toolkit/string_grid_model.h"

#include "toolkit/conversions.h"
#include "toolkit/message_text.h"
#include "toolkit/text_limits.h"
#include "toolkit/utf8.h"

#include <QWidget>

#include <cmath>

namespace {

// What a cell paints: a text longer than any column can show keeps only its
// start and its end, so a huge text paints as fast as a short one; invisible
// characters that would turn the text around show as marks.
QString shownText(const std::string& text) {
    constexpr size_t kEachEnd = 400; // bytes; wider than a screen of text
    if (text.size() <= 2 * kEachEnd)
        return QString::fromStdString(visibleText(text));
    const std::string_view whole = text;
    const size_t headEnd = characterStart(whole, kEachEnd);
    const size_t tailStart = characterStart(whole, text.size() - kEachEnd);
    return QString::fromStdString(visibleText(whole.substr(0, headEnd))) + QChar(0x2026) +
           QString::fromStdString(visibleText(whole.substr(tailStart)));
}

} // namespace

QColor mixed(const QColor& from, const QColor& to, double share) {
    const auto channel = [share](int a, int b) { return int(std::lround(a + (b - a) * share)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

QColor attentionTint(const QPalette& palette) {
    return mixed(palette.color(QPalette::Base), QColor(255, 160, 0), 0.35); // amber
}

StringGridModel::StringGridModel(int colCount, int fixedCols, const QWidget& view)
    : table(colCount, 2), fixed(fixedCols), view(view), shownCols(colCount), shownRows(2) {}

void StringGridModel::setCell(int col, int row, std::string text) {
    table.setCell(col, row, std::move(text));
    scheduleRefresh();
}

void StringGridModel::setMarks(CellNotes notes) {
    if (notes == marks)
        return;
    marks = std::move(notes);
    scheduleRefresh();
}

void StringGridModel::setFades(CellFades newFades) {
    if (newFades == fades)
        return;
    fades = std::move(newFades);
    scheduleRefresh();
}

void StringGridModel::scheduleRefresh() {
    if (std::exchange(refreshPending, true))
        return;
    QMetaObject::invokeMethod(
        this, [this] { refresh(); }, Qt::QueuedConnection);
}

int StringGridModel::gridCol(const QModelIndex& index) const {
    return index.column() + fixed;
}

QModelIndex StringGridModel::indexOf(int col, int row) const {
    return index(row - 1, col - fixed);
}

void StringGridModel::showTable() {
    const int rows = table.rowCount(), cols = table.colCount();
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
        beginInsertColumns({}, shownCols - fixed, cols - fixed - 1);
        shownCols = cols;
        endInsertColumns();
    } else if (cols < shownCols) {
        beginRemoveColumns({}, cols - fixed, shownCols - fixed - 1);
        shownCols = cols;
        endRemoveColumns();
    }
    refresh();
}

void StringGridModel::refresh() {
    refreshPending = false;
    if (shownRows > 1 && shownCols > fixed)
        emit dataChanged(index(0, 0), index(shownRows - 2, shownCols - fixed - 1));
    emit headerDataChanged(Qt::Horizontal, 0, shownCols - fixed - 1);
    if (shownRows > 1)
        emit headerDataChanged(Qt::Vertical, 0, shownRows - 2);
}

int StringGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows - 1;
}

int StringGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownCols - fixed;
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const {
    const std::string& text = table.cell(gridCol(index), gridRow(index));
    switch (role) {
    case Qt::DisplayRole:
        return shownText(text);
    case Qt::EditRole:
        return QString::fromStdString(text);
    case Qt::ToolTipRole: { // the whole text, however narrow the column, and any notes
        std::string tip = text;
        const auto add = [&tip](const std::string& note) {
            tip += (tip.empty() ? "" : "\n") + note;
        };
        if (const auto mark = marks.find({gridCol(index), gridRow(index)}); mark != marks.end())
            add(mark->second);
        if (const auto fade = fades.find({gridCol(index), gridRow(index)}); fade != fades.end())
            add(fade->second.note);
        return tip.empty() ? QVariant() : QString::fromStdString(tip);
    }
    case kFadeFromRole: {
        const auto fade = fades.find({gridCol(index), gridRow(index)});
        return fade == fades.end() ? QVariant() : QVariant(fade->second.from);
    }
    case Qt::BackgroundRole: // a tint, never the only sign: the tooltip says why
        return marks.contains({gridCol(index), gridRow(index)})
                   ? QVariant(attentionTint(view.palette()))
                   : QVariant();
    default:
        return {};
    }
}

bool StringGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const QString text = value.toString();
    if (role != Qt::EditRole || text.size() > kMaxTextLength)
        return false;
    const auto edit = [&] { table.setCell(gridCol(index), gridRow(index), text.toStdString()); };
    if (runEdit)
        runEdit(edit);
    else
        edit();
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex&) const {
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable |
           (editable ? Qt::ItemIsEditable : Qt::NoItemFlags);
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return QString::fromStdString(table.cell(section + fixed, 0));
    return fixed ? QString::fromStdString(table.cell(0, section + 1)) : QVariant();
}
