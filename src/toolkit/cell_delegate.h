#pragma once

#include <QStyledItemDelegate>

// How a grid's cells paint and edit: a number too wide for its cell is cut
// in the middle, the selection of a grid without focus is drawn as inactive,
// a text with a fade (string_grid_model.h) shows faint from there on, and an
// editor takes no more than a box does.
class CellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // A number too wide for its cell keeps its sign, first digits and
    // exponent. Elided here, where the cell's width is known: the style's own
    // elision cuts a text of digits at its point ("0.…").
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
};
