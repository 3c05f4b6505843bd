#pragma once

#include <QObject>

#include <functional>

class FitKind;
class QAction;
class QLabel;
class QMenu;
class QWidget;

// Which kind of fit GetCoefficients makes: through the points, the default,
// or least squares. "Least squares" in the point table's menu and Ctrl+L
// switch; "Weights (column w)" there switches to least squares that weighs
// each point by the table's third column, and back. The window makes each
// switch a step of its own. A label in the free
// space beside Generate names the kind in force, for the eye and screen
// readers.
class FitKindSwitch : public QObject {
  public:
    FitKindSwitch(QWidget& window, QMenu& pointsMenu);

    const FitKind& kind() const { return *current; }
    // Shows `kind` as the one in force.
    void show(const FitKind& kind);

    // The user asks for the other kind.
    std::function<void(const FitKind&)> onSwitch;
    // Told whenever a kind is shown as the one in force.
    std::function<void(const FitKind&)> onShown;

    QAction* leastSquares; // checked in least squares
    QAction* weights;      // checked in weighted least squares
    QLabel* label;

  private:
    const FitKind* current;
};
