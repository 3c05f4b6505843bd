#include "app/fit_kind_switch.h"

#include "fitting/fit_kind.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

FitKindSwitch::FitKindSwitch(QWidget& window, QMenu& pointsMenu)
    : QObject(&window), current(&FitKind::throughPoints()) {
    leastSquares = new QAction("&Least squares", &window);
    leastSquares->setCheckable(true);
    leastSquares->setShortcut(Qt::CTRL | Qt::Key_L);
    window.addAction(leastSquares);
    pointsMenu.addSeparator();
    pointsMenu.addAction(leastSquares);
    connect(leastSquares, &QAction::triggered, this, [this](bool checked) {
        show(*current); // until the step shows the kind asked for
        if (onSwitch)
            onSwitch(checked ? FitKind::leastSquares() : FitKind::throughPoints());
    });
    weights = new QAction("&Weights (column w)", &window);
    weights->setCheckable(true);
    pointsMenu.addAction(weights);
    connect(weights, &QAction::triggered, this, [this](bool checked) {
        show(*current);
        if (onSwitch)
            onSwitch(weighing(*current, checked));
    });
    label = new QLabel(&window);
    label->setObjectName("FitKind");
    label->setGeometry(224, 8, 337, 24);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    show(*current);
}

void FitKindSwitch::show(const FitKind& kind) {
    current = &kind;
    leastSquares->setChecked(&kind != &FitKind::throughPoints());
    weights->setChecked(kind.options().weighted);
    label->setText(kind.label());
    label->setAccessibleName(kind.label());
    if (onShown)
        onShown(kind);
}
