#pragma once

#include "fitting/exact_fit.h"
#include "fitting/fit_report.h"
#include "toolkit/cell_table.h"

#include <future>
#include <optional>
#include <string>
#include <vector>

// The exact check as the window shows it: made after a solve that succeeded,
// and kept current as the grids change.
class FitCheck {
  public:
    // Before a solve: fits these points exactly on another thread while the
    // solver works, unless they are the points of the last fit. The fit
    // needs only the points; start() waits for it.
    void prepare(const CellTable& sgdResult);

    // After every solve. The exact fit of the last points is kept, so solving
    // the same points again costs only the comparison. After a solve that
    // failed, the check stays only to say that no polynomial passes through
    // the points, which is why it failed.
    void start(const CellTable& sgdResult, const CellTable& sdgCoefficients, bool solved);
    // After Generate: there is nothing to check.
    void stop() { current.reset(); }

    // Follows what the grids hold now: once a point changes the check goes,
    // until the next start; once a shown value changes it compares again.
    // True when the report changed.
    bool follow(const CellTable& sgdResult, const CellTable& sdgCoefficients);

    // The check of what the window shows, if there is one.
    const FitReport* report() const { return current ? &*current : nullptr; }
    const ExactFit* fit() const { return current ? &*exact : nullptr; }

  private:
    std::future<ExactFit> pending;
    std::optional<ExactFit> exact;
    std::vector<std::string> comparedValues;
    std::optional<FitReport> current;
};
