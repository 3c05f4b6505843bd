#include "app/application.h"

#include "toolkit/string_grid_model.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
#include <QWidget>

namespace {

// Captions look as laid out; while Alt is held, each shows the letter that
// reaches its button, as desktops do.
class TarvelStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_UnderlineShortcut)
            return altHeld;
        if (hint == SH_Table_GridLineColor && option) // from the palette, seen light or dark
            return int(mixed(option->palette.color(QPalette::Base),
                             option->palette.color(QPalette::Text), 56.0 / 255)
                           .rgba());
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt)
                showMarks(event->type() == QEvent::KeyPress);
            break;
        case QEvent::ApplicationDeactivate: // Alt let go in another window
            showMarks(false);
            break;
        default:
            break;
        }
        return QProxyStyle::eventFilter(watched, event);
    }

  private:
    void showMarks(bool show) {
        if (show == altHeld)
            return;
        altHeld = show;
        for (QWidget* widget : QApplication::allWidgets())
            widget->update();
    }

    bool altHeld = false;
};

} // namespace

void setUpApplication() {
    // Settings go to ~/.config/Tarvel/Tarvel.conf, as the manual page says.
    QApplication::setOrganizationName("Tarvel");
    QApplication::setApplicationName("Tarvel");
    QApplication::setDesktopFileName("org.tarvel.tarvel");
    auto* style = new TarvelStyle;
    QApplication::setStyle(style);
    qApp->installEventFilter(style);
}

QWidget* showFitted(QWidget& window, QRect available) {
    const QSize needed = window.frameSize().expandedTo(window.minimumSize());
    if (needed.width() <= available.width() && needed.height() <= available.height()) {
        window.show();
        return &window;
    }
    auto* frame = new QScrollArea;
    frame->setWindowTitle(window.windowTitle());
    frame->setWindowIcon(window.windowIcon());
    frame->setWidget(&window); // the window becomes the frame's content
    // Room for the scroll bars, so only the direction that does not fit scrolls.
    const int bar = frame->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int border = 2 * frame->frameWidth();
    const QSize wanted = needed + QSize(bar + border, bar + border);
    // Inside the free area with its title bar and borders, which the desktop
    // may add only once the frame shows: fitted again then.
    const auto fit = [frame, wanted, available] {
        const QSize decoration = frame->frameGeometry().size() - frame->size();
        frame->resize(wanted.boundedTo(available.size() - decoration));
        frame->move(available.topLeft());
    };
    fit();
    frame->show();
    fit();
    QTimer::singleShot(250, frame, fit);
    return frame;
}
