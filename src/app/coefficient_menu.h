#pragma once

#include <QObject>

#include <functional>

class FitKind;
class QAction;
class QMenu;
class StringGrid;

// The coefficient grid's context menu. In least squares, "Hold at this
// value" holds the current row's coefficient at the value it shows, and
// "Release" lets the fit solve for it again; the window runs each as a step
// of its own.
class CoefficientMenu : public QObject {
  public:
    CoefficientMenu(StringGrid& coefficients, std::function<const FitKind&()> kind);

    QMenu* menu;
    QAction* hold;
    QAction* release;

  private:
    // Which of the two the current row and the kind in force allow.
    void enable();

    StringGrid& coefficients;
    std::function<const FitKind&()> kind;
};
