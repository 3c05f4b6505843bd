#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QPalette>

#include <string>

class StringGrid;

// Qt's view of a grid: only the non-fixed cells are items; the fixed row and
// column are header data. The model reads the grid's table, and keeps only
// the sizes the view was last told, so that the view and the model agree
// until sync() brings in the table's new sizes.
class StringGridModel : public QAbstractTableModel {
  public:
    explicit StringGridModel(StringGrid& grid);

    bool editable = true;

    // Grid coordinates of a Qt index, and back.
    int gridCol(const QModelIndex& index) const;
    int gridRow(const QModelIndex& index) const { return index.row() + 1; }
    QModelIndex indexOf(int col, int row) const;

    // Tells the view the table's sizes, then every text.
    void showTable();
    // Tells the view every text again.
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // An edit: the user's typing, or what the window puts in on its behalf.
    // A text longer than a cell holds is refused, as the cell's editor does.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    StringGrid& grid;
    int shownCols;
    int shownRows;
};

// The tint of a cell that needs the user's attention, wherever one shows:
// never the only sign, a tooltip or a column says why. Made from the
// palette's base, so the palette's text stays legible on it, light or dark.
QColor attentionTint(const QPalette& palette);

// A colour `share` of the way from `from` to `to`.
QColor mixed(const QColor& from, const QColor& to, double share);
