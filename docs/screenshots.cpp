// Renders the README's screenshots from the real window: the first page after
// GetCoefficients and the Draw page after Draw, through the points, in least
// squares and in a weighted calibration held through the origin, and the
// steps of the elimination, the classic exercise in four digits beside
// exact, and the bar that counts a long solve's sums. Run by
// scripts/screenshots, offscreen or on a display, so they can be made again after a change of look.
#include "app/Unit1.h"
#include "app/application.h"
#include "app/coefficient_menu.h"
#include "app/elimination_lesson_view.h"
#include "app/elimination_player.h"
#include "app/fit_check_panel.h"
#include "app/fit_check_view.h"
#include "app/fit_kind_switch.h"
#include "app/summing_bar.h"
#include "toolkit/conversions.h"
#include "toolkit/string_grid.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include <cmath>
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
        // The last Draw's axes go as the event loop would let them.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form.grab().save(folder + "/" + name);
    };
    form.btnGetCoefficients->click();
    bool saved = shoot("tarvel.png");
    form.Tarvel->setCurrentIndex(1);
    form.btnDraw->click();
    saved = shoot("draw.png") && saved;

    // The steps of the default points, at the last elimination step; then
    // those of x = 1 .. 10 at degree 9, at the step that lost the most.
    EliminationPlayer& player = *form.player;
    const auto shootPlayer = [&](const char* name) {
        QCoreApplication::processEvents();
        return player.grab().save(folder + "/" + name);
    };
    player.open();
    player.showStep(9);
    saved = shootPlayer("steps.png") && saved;
    form.Tarvel->setCurrentIndex(0);
    form.txtDegree->setText("9");
    form.btnGenerate->click();
    for (int x = 1; x <= 10; ++x) {
        long long fx = 0;
        for (int k = 0; k < 10; ++k)
            fx = fx * x + 1;
        form.sgdResult->setCell(0, x, std::to_string(x));
        form.sgdResult->setCell(1, x, std::to_string(fx));
    }
    form.btnGetCoefficients->click();
    player.open();
    player.toWorst->click();
    saved = shootPlayer("steps-degree-9.png") && saved;
    player.close();

    // Twenty measurements of a quadratic trend with noise, fitted with a quadratic.
    form.switchFit(FitKind::leastSquares());
    form.txtDegree->setText("2");
    form.btnGenerate->click();
    const double noise[] = {0.8,  -1.1, 0.4,  1.5, -0.7, -1.9, 0.9, 0.2,  -0.4, 1.7,
                            -1.2, 0.6,  -0.3, 1.1, -1.6, 0.5,  1.3, -0.8, -0.2, 0.7};
    QString points;
    for (int k = 0; k < 20; ++k)
        points += QString("%1\t%2\n").arg(k).arg(2 + 1.5 * k + 0.25 * k * k + 4 * noise[k]);
    form.sgdResult->setCurrentIndex(form.sgdResult->model()->index(0, 0));
    form.sgdResult->pasteText(points);
    form.btnGetCoefficients->click();
    saved = shoot("least-squares.png") && saved;
    form.Tarvel->setCurrentIndex(1);
    form.btnDraw->click();
    saved = shoot("least-squares-draw.png") && saved;

    // A calibration: seven standards, each weighed by how well it is known,
    // the curve held through the origin; then a measured value read back.
    form.Tarvel->setCurrentIndex(0);
    form.fitKind->weights->trigger();
    form.btnClear->click();
    form.sgdResult->setCurrentIndex(form.sgdResult->model()->index(0, 0));
    form.sgdResult->pasteText("0\t0.0004\t400\n0.5\t0.0243\t400\n1\t0.0478\t300\n"
                              "2\t0.0965\t200\n5\t0.2352\t50\n10\t0.459\t12\n20\t0.8788\t3\n");
    form.sdgCoefficients->setCell(1, 1, "0");
    form.sdgCoefficients->setCurrentIndex(form.sdgCoefficients->model()->index(0, 0));
    form.coefficientMenu->hold->trigger();
    form.btnGetCoefficients->click();
    form.sdgCoefficients->setCurrentIndex(form.sdgCoefficients->model()->index(2, 0));
    saved = shoot("calibration.png") && saved;
    form.checkView->indicator->trigger();
    saved = shoot("calibration-panel.png") && saved;
    form.checkView->panel->hide();
    form.Tarvel->setCurrentIndex(1);
    form.btnDraw->click();
    form.txtRfx->setText("0.3");
    form.btnXForFx->click();
    saved = shoot("calibration-draw.png") && saved;

    // The classic exercise in four-digit rounding beside exact, without pivoting.
    EliminationLessonView& lesson = *form.player->lesson;
    lesson.open("0.003000 59.14 59.17\n5.291 -6.130 46.78\n");
    lesson.arithmetics[0]->setCurrentIndex(3); // digits, rounding
    lesson.digits[0]->setValue(4);
    QCoreApplication::processEvents();
    saved = lesson.grab().save(folder + "/lesson.png") && saved;

    // Degree 190's system, through 191 points spread over [-1, 1], in
    // four-digit rounding beside double, halfway through its 18,145 steps.
    std::string vandermonde;
    for (int k = 0; k <= 190; ++k) {
        const double x = -1.0 + 2.0 * k / 190;
        for (int j = 0; j <= 190; ++j)
            vandermonde += FloatToStr(std::pow(x, j)) + " ";
        vandermonde += FloatToStr(1 + x + x * x) + "\n";
    }
    lesson.open(vandermonde);
    lesson.steps->setCurrentIndex(lesson.steps->model()->index(9000, 0));
    QCoreApplication::processEvents();
    saved = lesson.grab().save(folder + "/lesson-degree-190.png") && saved;
    lesson.close();

    // 400,000 points at degree 60: the bar counts the sums, then Cancel.
    form.Tarvel->setCurrentIndex(0);
    form.fitKind->weights->trigger();
    form.sdgCoefficients->setCurrentIndex(form.sdgCoefficients->model()->index(0, 0));
    form.coefficientMenu->release->trigger();
    form.txtDegree->setText("60");
    form.btnGenerate->click();
    CellTable& many = form.sgdResult->cells();
    many.setRowCount(400'002);
    for (int k = 1; k <= 400'000; ++k) {
        many.setCell(0, k, FloatToStr(-1 + k / 200'000.0, 6));
        many.setCell(1, k, FloatToStr(std::sin(k / 40'000.0), 6));
    }
    form.sgdResult->sync();
    QTimer::singleShot(400, &form, [&] {
        saved = shoot("summing.png") && saved;
        form.summingBar->cancel->click();
    });
    form.btnGetCoefficients->click();
    return saved ? 0 : 1;
}
