#include "app/fit_mode_switch.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

FitModeSwitch::FitModeSwitch(QWidget& window, QMenu& pointsMenu) : QObject(&window) {
    leastSquares = new QAction("&Least squares", &window);
    leastSquares->setCheckable(true);
    leastSquares->setShortcut(Qt::CTRL | Qt::Key_L);
    window.addAction(leastSquares);
    pointsMenu.addSeparator();
    pointsMenu.addAction(leastSquares);
    connect(leastSquares, &QAction::triggered, this, [this](bool checked) {
        leastSquares->setChecked(current == FitMode::leastSquares); // until the step shows it
        if (onSwitch)
            onSwitch(checked ? FitMode::leastSquares : FitMode::throughPoints);
    });
    label = new QLabel(&window);
    label->setObjectName("FitMode");
    label->setGeometry(224, 8, 337, 24);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    show(current);
}

void FitModeSwitch::show(FitMode mode) {
    current = mode;
    leastSquares->setChecked(mode == FitMode::leastSquares);
    const QString text = mode == FitMode::leastSquares ? "Fit: least squares (Ctrl+L)"
                                                       : "Fit: through the points (Ctrl+L)";
    label->setText(text);
    label->setAccessibleName(text);
}
