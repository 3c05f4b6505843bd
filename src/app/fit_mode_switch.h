#pragma once

#include "model/fit_mode.h"

#include <QObject>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QWidget;

// Which fit GetCoefficients makes: through the points, the default, or least
// squares. "Least squares" in the point table's menu and Ctrl+L switch; the
// window makes the switch a step of its own. A label in the free space
// beside Generate names the fit in force, for the eye and screen readers.
class FitModeSwitch : public QObject {
  public:
    FitModeSwitch(QWidget& window, QMenu& pointsMenu);

    FitMode mode() const { return current; }
    // Shows `mode` as the one in force.
    void show(FitMode mode);

    // The user asks for the other fit.
    std::function<void(FitMode)> onSwitch;

    QAction* leastSquares; // checked in least squares
    QLabel* label;

  private:
    FitMode current = FitMode::throughPoints;
};
