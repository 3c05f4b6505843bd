#include "toolkit/cell_delegate.h"

#include "toolkit/string_grid_model.h"
#include "toolkit/text_box.h"

#include <QLineEdit>
#include <QPainter>

#include <algorithm>

void CellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const QWidget* view = option->widget;
    if (!view->hasFocus()) // the current cell of a grid without focus draws as inactive
        option->state &= ~QStyle::State_Active;
    const int margins =
        2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    option->text = option->fontMetrics.elidedText(option->text, Qt::ElideMiddle,
                                                  option->rect.width() - margins);
}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QVariant fadeFrom = index.data(StringGridModel::kFadeFromRole);
    // A text cut to fit keeps no place for the fade: it paints whole.
    if (!fadeFrom.isValid() || item.text != index.data(Qt::DisplayRole).toString()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QString text = item.text;
    item.text.clear();
    const QWidget* view = option.widget;
    view->style()->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    QRect area = view->style()->subElementRect(QStyle::SE_ItemViewItemText, &item, view);
    area.adjust(margin, 0, -margin, 0);
    const bool selected = item.state & QStyle::State_Selected;
    const QPalette::ColorGroup group =
        item.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    const QColor ink = item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    QColor faint = ink;
    faint.setAlphaF(0.45f);
    const int split = std::min<int>(fadeFrom.toInt(), int(text.size()));
    painter->save();
    painter->setFont(item.font);
    painter->setPen(ink);
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text.left(split));
    area.setLeft(area.left() + item.fontMetrics.horizontalAdvance(text.left(split)));
    painter->setPen(faint);
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text.mid(split));
    painter->restore();
}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* box = qobject_cast<QLineEdit*>(editor))
        limitLength(*box, "a cell");
    return editor;
}
