#pragma once

#include "fitting/exact_fit.h"
#include "fitting/fit_report.h"
#include "fitting/solve_steps.h"
#include "toolkit/cell_table.h"

#include <future>
#include <memory>
#include <string>
#include <vector>

// The exact check as the window shows it: made after a solve, and kept
// current as the grids change.
class FitCheck {
  public:
    // What the check shows at one moment, as undo gives it back: never
    // computed again into something else.
    struct Snapshot {
        std::shared_ptr<const ExactFit> fit;
        std::shared_ptr<const FitReport> report; // none: nothing is checked
        std::vector<std::string> comparedValues;
        std::string solveFailure;
        // The steps of the solve, while its points stand; also of a failed one.
        std::shared_ptr<const SolveSteps> steps;
        bool reportLeftOut = false; // kept(): made again by restore()
    };

    // Before a solve: fits these points exactly on another thread while the
    // solver works, unless they are the points of the last fit. The fit
    // needs only the points; start() waits for it.
    // In least squares the degree is the coefficient grid's.
    void prepare(const CellTable& sgdResult, const CellTable& sdgCoefficients,
                 FitMode mode = FitMode::throughPoints);

    // After every solve; `solveFailure` is the message of the error that
    // ended a failed one. The exact fit of the last points is kept, so
    // solving the same points again costs only the comparison. After a
    // failed solve the check stays where it explains the failure: the exact
    // fit exists after all, or no polynomial passes through the points.
    void start(const CellTable& sgdResult, const CellTable& sdgCoefficients,
               const std::string& solveFailure, FitMode mode = FitMode::throughPoints,
               std::shared_ptr<const SolveSteps> steps = nullptr);
    // After Generate: there is nothing to check.
    void stop() { shown = {}; }

    // Follows what the grids hold now: once a point changes the check and
    // the steps go, until the next start; once a shown value changes it
    // compares again. True when the report changed.
    bool follow(const CellTable& sgdResult, const CellTable& sdgCoefficients);

    // The check of what the window shows, if there is one.
    const FitReport* report() const { return shown.report.get(); }
    const ExactFit* fit() const { return shown.report ? shown.fit.get() : nullptr; }

    const Snapshot& snapshot() const { return shown; }

    // The check as undo keeps it: a report of more points than
    // kKeptReportPoints (a least-squares fit of 100,000 takes megabytes) is
    // left out, and restore() compares again with the coefficients the
    // state brings back.
    static constexpr size_t kKeptReportPoints = 1000;
    Snapshot kept() const;
    void restore(Snapshot snapshot, const CellTable& sdgCoefficients);

  private:
    void compare(const CellTable& sdgCoefficients);
    // Whether the last exact fit is this one.
    bool lastFitIs(const CellTable& sgdResult, const CellTable& sdgCoefficients,
                   FitMode mode) const;

    std::future<ExactFit> pending;
    std::shared_ptr<const ExactFit> lastFit; // kept for a solve of the same points
    Snapshot shown;
};
