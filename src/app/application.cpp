#include "app/application.h"

#include <QApplication>
#include <QProxyStyle>

namespace {

class TarvelStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_UnderlineShortcut)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void setUpApplication() {
    QApplication::setApplicationName("Tarvel");
    QApplication::setDesktopFileName("org.tarvel.Tarvel");
    QApplication::setStyle(new TarvelStyle);
}
