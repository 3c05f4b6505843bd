#pragma once

#include "fitting/fit_check.h"

#include <QObject>

class FitCheckPanel;
class QAction;
class QLineEdit;
class QWidget;
class StringGrid;

// The exact check as the window shows it: the indicator at the end of Result,
// the panel it opens (a click, or Ctrl+E in Result), and the tints and notes
// on the coefficients that are off. The window tells it what happened; it
// reads the grids itself.
class FitCheckView : public QObject {
  public:
    FitCheckView(QWidget& window, QLineEdit& result, StringGrid& points, StringGrid& coefficients);

    // Around a solve: the exact fit starts on another thread before it, and
    // is compared with what the solve left after it.
    void beforeSolve();
    void afterSolve(bool solved);
    // After Generate or an Open: there is nothing to check.
    void clear();
    // After any change to the grids: a changed point takes the check away,
    // a changed shown value compares again.
    void follow();
    // The panel stands over the pages, its lower edge just above Result.
    void placePanel();

    QAction* indicator;
    FitCheckPanel* panel;

  private:
    void show();
    void openPanel();
    // "Use exact values": the exact coefficients and their Result text.
    void useExactValues();

    QWidget& window;
    QLineEdit& result;
    StringGrid& points;
    StringGrid& coefficients;
    FitCheck check;
};
