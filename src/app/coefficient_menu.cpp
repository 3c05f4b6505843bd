#include "app/coefficient_menu.h"

#include "app/fit_kind_switch.h"
#include "app/window_steps.h"
#include "fitting/fit_kind.h"
#include "toolkit/string_grid.h"

#include <QAction>
#include <QMenu>

CoefficientMenu::CoefficientMenu(StringGrid& coefficients, FitKindSwitch& fitKind,
                                 WindowSteps& steps)
    : QObject(&coefficients), coefficients(coefficients), fitKind(fitKind), steps(steps) {
    menu = new QMenu(&coefficients);
    hold = menu->addAction("&Hold at this value", this, [this] { holdCurrent(true); });
    release = menu->addAction("&Release", this, [this] { holdCurrent(false); });
    coefficients.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&coefficients, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        enable();
        menu->popup(this->coefficients.viewport()->mapToGlobal(at));
    });
}

void CoefficientMenu::holdCurrent(bool held) {
    steps.run({.undoText = held ? "Hold" : "Release", .solve = SolveEffect::uncheck}, [&] {
        const size_t power = size_t(coefficients.row() - 1);
        fitKind.show(held ? holding(fitKind.kind(), coefficients.cells(), power)
                          : releasing(fitKind.kind(), power));
    });
}

void CoefficientMenu::enable() {
    const FitKind& inForce = fitKind.kind();
    const bool leastSquares = &inForce != &FitKind::throughPoints();
    const bool held = inForce.options().held.contains(size_t(coefficients.row() - 1));
    hold->setEnabled(leastSquares && !held);
    release->setEnabled(held);
}
