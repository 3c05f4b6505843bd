#include "app/passing_note.h"

#include <QTimer>

PassingNote::PassingNote(QWidget& parent, const QWidget& over) : QLabel(&parent), over(over) {
    setObjectName("note");
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setMargin(2);
    hide();
}

void PassingNote::pass(const QString& text) {
    setText(text);
    adjustSize();
    move(over.x(), over.geometry().bottom() - 14);
    show();
    raise();
    QTimer::singleShot(8000, this, &QWidget::hide);
}
