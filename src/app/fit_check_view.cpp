#include "app/fit_check_view.h"

#include "app/fit_check_panel.h"
#include "fitting/solver.h"
#include "toolkit/error_display.h"
#include "toolkit/string_grid.h"
#include "toolkit/text_box.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

FitCheckView::FitCheckView(QWidget& window, QLineEdit& result, StringGrid& points,
                           StringGrid& coefficients)
    : QObject(&window), window(window), result(result), points(points), coefficients(coefficients) {
    indicator = result.addAction(QIcon(), QLineEdit::TrailingPosition);
    indicator->setText("Exact check");
    indicator->setVisible(false);
    panel = new FitCheckPanel(&window);
    placePanel();
    connect(indicator, &QAction::triggered, this, &FitCheckView::openPanel);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), &result, nullptr, nullptr,
                          Qt::WidgetShortcut),
            &QShortcut::activated, this, &FitCheckView::openPanel);
    panel->onUseExactValues = [this] { guarded([this] { useExactValues(); }); };
    // Any change to the points or the shown values, by typing, pasting or a handler.
    for (StringGrid* grid : {&points, &coefficients})
        connect(grid->model(), &QAbstractItemModel::dataChanged, this, &FitCheckView::follow);
}

void FitCheckView::beforeSolve() {
    check.prepare(points.cells());
}

void FitCheckView::afterSolve(bool solved) {
    check.start(points.cells(), coefficients.cells(), solved);
    show();
}

void FitCheckView::clear() {
    check.stop();
    show();
}

void FitCheckView::follow() {
    if (check.follow(points.cells(), coefficients.cells()))
        show();
}

void FitCheckView::placePanel() {
    panel->setGeometry(8, 100, window.width() - 16, result.y() - 104);
}

void FitCheckView::show() {
    const FitReport* report = check.report();
    StringGrid::CellNotes notes;
    if (report)
        for (size_t k = 0; k < report->coefficients.size(); ++k)
            if (report->coefficients[k].off)
                notes[{1, int(k) + 1}] = "The exact value is " + report->coefficients[k].exact +
                                         "; this one is off by " +
                                         report->coefficients[k].difference + ".";
    coefficients.setMarks(std::move(notes));
    indicator->setVisible(report != nullptr);
    if (!report) {
        panel->hide();
        return;
    }
    const bool agrees = report->verdict == FitReport::Verdict::agrees;
    indicator->setIcon(window.style()->standardIcon(agrees ? QStyle::SP_DialogApplyButton
                                                           : QStyle::SP_MessageBoxWarning));
    const QString summary = QString::fromStdString(report->summary);
    indicator->setToolTip(summary);
    for (QToolButton* button : result.findChildren<QToolButton*>())
        if (button->defaultAction() == indicator) {
            button->setAccessibleName(agrees ? "Exact check: agrees" : "Exact check: off");
            button->setAccessibleDescription(summary);
        }
    if (!panel->isHidden())
        panel->showReport(*report);
}

void FitCheckView::openPanel() {
    if (const FitReport* report = check.report()) {
        panel->showReport(*report);
        panel->show();
        panel->raise();
        panel->closeButton->setFocus();
    }
}

void FitCheckView::useExactValues() {
    if (const ExactFit* exact = check.fit()) {
        exact->writeExactValues(coefficients.cells());
        SetText(result, resultText(coefficients.cells()));
        coefficients.sync();
    }
}
