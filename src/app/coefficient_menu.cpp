#include "app/coefficient_menu.h"

#include "fitting/fit_kind.h"
#include "toolkit/string_grid.h"

#include <QAction>
#include <QMenu>

CoefficientMenu::CoefficientMenu(StringGrid& coefficients, std::function<const FitKind&()> kind)
    : QObject(&coefficients), coefficients(coefficients), kind(std::move(kind)) {
    menu = new QMenu(&coefficients);
    hold = menu->addAction("&Hold at this value");
    release = menu->addAction("&Release");
    coefficients.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&coefficients, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        enable();
        menu->popup(this->coefficients.viewport()->mapToGlobal(at));
    });
}

void CoefficientMenu::enable() {
    const FitKind& inForce = kind();
    const bool leastSquares = &inForce != &FitKind::throughPoints();
    const bool held = inForce.options().held.contains(size_t(coefficients.row() - 1));
    hold->setEnabled(leastSquares && !held);
    release->setEnabled(held);
}
