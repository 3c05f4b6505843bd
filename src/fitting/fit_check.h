#pragma once

#include "exact/exact_fit.h"
#include "fitting/fit_report.h"
#include "fitting/solve_steps.h"
#include "toolkit/cell_table.h"

#include <future>
#include <memory>
#include <string>
#include <vector>

class FitKind;

// The last solve at one moment, as the window keeps it and undo gives it
// back: whether the coefficients shown are its result, the message of the
// error that ended it, its steps, and the exact check made after it. Never
// computed again into something else.
struct LastSolve {
    bool solved = false; // the coefficients shown are what the solve gave
    std::string solveFailure = {};
    // The steps of the solve, while its points stand; also of a failed one.
    std::shared_ptr<const SolveSteps> steps = {};
    std::shared_ptr<const ExactFit> fit = {};
    std::shared_ptr<const FitReport> report = {}; // none: nothing is checked
    std::vector<std::string> comparedValues = {};
    bool reportLeftOut = false; // kept(): made again by restore()
};

// The exact check as the window shows it: made after a solve, and kept
// current as the grids change; it keeps the last solve.
class FitCheck {
  public:
    // Before a solve: fits these points exactly, as `kind` fits them, on
    // another thread while the solver works, unless they are the points of
    // the last fit. The fit needs only the points and the degree, the
    // coefficient grid's; start() waits for it.
    void prepare(const CellTable& sgdResult, const CellTable& sdgCoefficients, const FitKind& kind);

    // After every solve; `solveFailure` is the message of the error that
    // ended a failed one. The exact fit of the last points is kept, so
    // solving the same points again costs only the comparison. After a
    // failed solve the check stays where it explains the failure: the exact
    // fit exists after all, or no polynomial passes through the points.
    void start(const CellTable& sgdResult, const CellTable& sdgCoefficients,
               const std::string& solveFailure, const FitKind& kind,
               std::shared_ptr<const SolveSteps> steps = nullptr);
    // After Generate and Open: no solve gave the coefficients, and there is
    // nothing to check.
    void stop() { shown = {}; }
    // After a switch of the fit kind: the coefficients stay the solve's, and
    // there is nothing to check.
    void uncheck() { shown = {.solved = shown.solved}; }

    // Follows what the grids hold now: once a point changes the check and
    // the steps go, until the next start, and the coefficients stay the
    // solve's; once a shown value changes it
    // compares again. True when the report changed.
    bool follow(const CellTable& sgdResult, const CellTable& sdgCoefficients);

    // The check of what the window shows, if there is one.
    const FitReport* report() const { return shown.report.get(); }
    const ExactFit* fit() const { return shown.report ? shown.fit.get() : nullptr; }

    const LastSolve& lastSolve() const { return shown; }

    // The check as undo keeps it: a report of more points than
    // kKeptReportPoints (a least-squares fit of 100,000 takes megabytes) is
    // left out, and restore() compares again with the coefficients the
    // state brings back.
    static constexpr size_t kKeptReportPoints = 1000;
    LastSolve kept() const;
    void restore(LastSolve solve, const CellTable& sdgCoefficients);

  private:
    void compare(const CellTable& sdgCoefficients);
    // Whether the last exact fit is this one.
    bool lastFitIs(const CellTable& sgdResult, const FitKind& kind, int degree) const;

    // The exact fit on its way, and the last one, kept for a solve of the
    // same points; each with the kind and degree it was made for.
    struct Made {
        const FitKind* kind = nullptr;
        int degree = 0;
    };
    std::future<ExactFit> pending;
    Made pendingMade;
    std::shared_ptr<const ExactFit> lastFit;
    Made lastMade;
    LastSolve shown;
};
