#pragma once

#include <QObject>

class FitKindSwitch;
class QAction;
class QMenu;
class StringGrid;
class WindowSteps;

// The coefficient grid's context menu. In least squares, "Hold at this
// value" holds the current row's coefficient at the value it shows, and
// "Release" lets the fit solve for it again, each a step of its own: the fit
// kind switches to least squares with that coefficient held, or free again.
class CoefficientMenu : public QObject {
  public:
    CoefficientMenu(StringGrid& coefficients, FitKindSwitch& fitKind, WindowSteps& steps);

    QMenu* menu;
    QAction* hold;
    QAction* release;

    // Holds the current coefficient, or releases it, as one step.
    void holdCurrent(bool hold);

  private:
    // Which of the two the current row and the kind in force allow.
    void enable();

    StringGrid& coefficients;
    FitKindSwitch& fitKind;
    WindowSteps& steps;
};
