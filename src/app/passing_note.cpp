#include "app/passing_note.h"

#include "fitting/fit_kind.h"
#include "fitting/point_file.h"
#include "fitting/point_table.h"

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
    setWordWrap(false);
    adjustSize();
    // A note longer than the page is wide wraps instead of running past it.
    if (const int room = parentWidget()->width() - over.x() - 4; width() > room) {
        setWordWrap(true);
        resize(room, heightForWidth(room));
    }
    move(over.x(), over.geometry().bottom() - 14);
    show();
    raise();
    QTimer::singleShot(8000, this, &QWidget::hide);
}

void PassingNote::passDecimalCommas(size_t rows, const char* what, bool thousands) {
    pass(QString("Read %1 %2%3 with decimal commas%4")
             .arg(rows)
             .arg(what)
             .arg(rows == 1 ? "" : "s")
             .arg(thousands ? " and thousands dots" : ""));
}

void PassingNote::passOpened(const PointFile& file, bool switched) {
    if (switched)
        pass(QString("%1 points opened in least squares, as through the points takes %2 at "
                     "most%3; Ctrl+Z goes back")
                 .arg(file.points.size())
                 .arg(FitKind::throughPoints().pointLimit())
                 .arg(file.decimalCommas ? ", with decimal commas" : ""));
    else if (file.decimalCommas)
        passDecimalCommas(file.points.size(), "point", file.thousands);
}

void PassingNote::passDropped(const std::vector<int>& filledBefore, int rowCount) {
    if (const int dropped = droppedPoints(filledBefore, rowCount))
        pass(QString("%1 point%2 dropped with the smaller degree; Ctrl+Z brings %3 back")
                 .arg(dropped)
                 .arg(dropped == 1 ? " was" : "s were")
                 .arg(dropped == 1 ? "it" : "them"));
}
