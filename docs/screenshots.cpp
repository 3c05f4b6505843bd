// Renders the README's screenshots from the real window, offscreen: the first
// page after GetCoefficients and the Draw page after Draw. Run by
// scripts/screenshots, so they can be made again after a change of look.
#include "app/Unit1.h"
#include "app/application.h"

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarvel_screenshots FOLDER\n");
        return 2;
    }
    QApplication application(argc, argv);
    setUpApplication();
    TForm1 form;
    form.show();
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const auto shoot = [&](const char* name) {
        QCoreApplication::processEvents();
        return form.grab().save(folder + "/" + name);
    };
    form.btnGetCoefficients->click();
    bool saved = shoot("tarvel.png");
    form.Tarvel->setCurrentIndex(1);
    form.btnDraw->click();
    saved = shoot("draw.png") && saved;
    return saved ? 0 : 1;
}
