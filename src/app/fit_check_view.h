#pragma once

#include "fitting/fit_check.h"
#include "model/prediction_band.h"

#include <QObject>

#include <functional>
#include <optional>

class FitCheckPanel;
class QAction;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;
class StringGrid;

// The exact check as the window shows it: the indicator at the end of Result
// (agrees, off, or not checked, each with its own icon and name), the panel
// it opens (a click, Enter on it after Tab, or Ctrl+E in Result), and the
// tints and notes on the coefficients that are off, and on those a
// least-squares fit holds. It keeps the last solve;
// the window tells it what happened, and it reads the grids itself.
class FitCheckView : public QObject {
  public:
    FitCheckView(QWidget& window, QLineEdit& result, StringGrid& points, StringGrid& coefficients);

    // Around a solve: the exact fit starts on another thread before it, and
    // is compared with what the solve left after it; `failure` is the message
    // of the error that ended a failed solve.
    void beforeSolve(const FitKind& kind);
    // Where the solve records its steps; afterSolve keeps them with the check.
    SolveSteps* recordSteps();
    void afterSolve(const QString& failure, const FitKind& kind);
    // After Generate or an Open: no solve gave the coefficients, and there
    // is nothing to check.
    void clear();
    // After a switch of the fit kind: there is nothing to check.
    void uncheck();
    // After any change to the grids: a changed point takes the check away,
    // a changed shown value compares again.
    void follow();
    // The coefficients the fit kind in force holds, marked.
    void showHeld(const HeldValues& values);
    // The panel stands over the pages, its lower edge just above Result.
    void placePanel();

    // The check of what the window shows, if there is one.
    const FitReport* report() const { return check.report(); }
    // What Draw surrounds a least-squares curve with, at `level`, while the
    // check has it.
    std::optional<BandBasis> bands(double level) const;

    // The last solve, as the window shows it, as undo keeps it, and given back.
    const LastSolve& lastSolve() const { return check.lastSolve(); }
    LastSolve kept() const { return check.kept(); }
    void restore(LastSolve solve);
    // Told whenever the last solve it shows changes.
    std::function<void(const LastSolve&)> onShown;

    // "Use exact values" writes the exact coefficients and their Result text
    // through this, so the window can make it a step of its own.
    std::function<void(const std::function<void()>& write)> runAsStep;

    // Least squares: the shown fit's numbers in one line beside "Result".
    QLabel* fitLine;
    QAction* indicator;
    QToolButton* indicatorButton; // the indicator's button, reached with Tab
    FitCheckPanel* panel;

  protected:
    // Ctrl+E in Result, before the box takes it as "end of line".
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void show();
    void showFitLine();
    // The digits of each shown coefficient that the exact value does not
    // bear out, faint in the coefficient grid and in Result, and how many
    // agree in their tooltips.
    void showTrustedDigits(const FitReport* report);
    void openPanel();
    void useExactValues();

    QWidget& window;
    QLineEdit& result;
    StringGrid& points;
    StringGrid& coefficients;
    FitCheck check;
    std::shared_ptr<SolveSteps> recording;
    HeldValues held;
};
