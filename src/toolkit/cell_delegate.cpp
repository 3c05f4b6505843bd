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
    if (!fadeFrom.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // In a text cut in the middle to fit, the fade starts where its
    // character stands, or at the cut when that went.
    const QString whole = index.data(Qt::DisplayRole).toString();
    const int from = fadeFrom.toInt(), cut = item.text.indexOf(QChar(0x2026));
    const int tailStart = int(whole.size() - (item.text.size() - cut - 1));
    const int split = item.text == whole || from <= cut ? from
                      : from < tailStart                ? cut
                                                        : cut + 1 + from - tailStart;
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
    const QColor ink =
        item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    QColor faint = ink;
    faint.setAlphaF(0.45f);
    painter->save();
    painter->setFont(item.font);
    painter->setPen(ink);
    const QString trusted = text.left(std::max(0, split));
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, trusted);
    area.setLeft(area.left() + item.fontMetrics.horizontalAdvance(trusted));
    painter->setPen(faint);
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text.mid(trusted.size()));
    painter->restore();
}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* box = qobject_cast<QLineEdit*>(editor))
        limitLength(*box, "a cell");
    return editor;
}
