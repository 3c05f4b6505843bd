#include "toolkit/cell_delegate.h"

#include "toolkit/text_box.h"

#include <QLineEdit>

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

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* box = qobject_cast<QLineEdit*>(editor))
        limitLength(*box, "a cell");
    return editor;
}
