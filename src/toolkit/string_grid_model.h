#pragma once

#include "toolkit/cell_table.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QPalette>

#include <functional>
#include <map>
#include <string>
#include <utility>

// A grid's cells, as Qt's views take them: it owns the table of texts and
// the marks on its cells; only the non-fixed cells are items, and the fixed
// row and column are header data. It tells the view only the sizes it was
// last told, so that the view and the model agree until showTable() brings
// in the table's new sizes.
class StringGridModel : public QAbstractTableModel {
  public:
    // `colCount` columns, 2 rows; tints follow the palette of `view`.
    StringGridModel(int colCount, int fixedCols, const QWidget& view);

    const CellTable& cells() const { return table; }
    // For changing the table; showTable() or refresh() when done.
    CellTable& cells() { return table; }
    int fixedCols() const { return fixed; }
    // Writes one cell and shows it once control returns to the event loop.
    void setCell(int col, int row, std::string text);

    // Cells that need the user's attention, by (col, row): each shows a tint,
    // and its tooltip adds the note to the text. Replaces the marks before.
    using CellNotes = std::map<std::pair<int, int>, std::string>;
    void setMarks(CellNotes notes);

    // Cells whose text shows faint from a character on, by (col, row), with
    // a note the tooltip adds: digits not to be trusted. No tint: the text
    // itself shows it. Replaces the fades before.
    struct Fade {
        int from; // in characters of the text
        std::string note;
        bool operator==(const Fade&) const = default;
    };
    using CellFades = std::map<std::pair<int, int>, Fade>;
    void setFades(CellFades fades);
    // The role that gives a cell's Fade::from, where it has one.
    static constexpr int kFadeFromRole = Qt::UserRole + 1;

    bool editable = true;
    // Each edit the user makes runs through this when it is set.
    std::function<void(const std::function<void()>& edit)> runEdit;

    // Grid coordinates of a Qt index, and back.
    int gridCol(const QModelIndex& index) const;
    int gridRow(const QModelIndex& index) const { return index.row() + 1; }
    QModelIndex indexOf(int col, int row) const;

    // Tells the view the table's sizes, then every text.
    void showTable();
    // Tells the view every text again.
    void refresh();
    // refresh() once control returns to the event loop.
    void scheduleRefresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // An edit: the user's typing, or what the window puts in on its behalf.
    // A text longer than a cell holds is refused, as the cell's editor does.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    CellTable table;
    CellNotes marks;
    CellFades fades;
    const int fixed;
    const QWidget& view;
    bool refreshPending = false;
    int shownCols;
    int shownRows;
};

// The tint of a cell that needs the user's attention, wherever one shows:
// never the only sign, a tooltip or a column says why. Made from the
// palette's base, so the palette's text stays legible on it, light or dark.
QColor attentionTint(const QPalette& palette);

// A colour `share` of the way from `from` to `to`.
QColor mixed(const QColor& from, const QColor& to, double share);
