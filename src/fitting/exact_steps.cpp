#include "fitting/exact_steps.h"

#include "fitting/exact_fit.h"

#include "exact/exact_number.h"
#include "exact/least_squares.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <gmpxx.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using Matrix = std::vector<std::vector<mpq_class>>; // [row][col], rows from 0

// The system Build makes, exactly: one equation per point, or the normal
// equations of the exact sums. Empty when an input is no exact number.
Matrix exactSystem(const SolveSteps& steps, int unknowns, std::string& unavailable) {
    Matrix system;
    if (steps.mode == FitMode::leastSquares) {
        const auto sum = [&](size_t k) { return fromWholeText(steps.exactSums.at(k)).value(); };
        const size_t weighted = size_t(2 * unknowns - 1);
        if (steps.exactSums.size() != weighted + size_t(unknowns)) {
            unavailable = "The exact sums were not formed.";
            return {};
        }
        for (int i = 0; i < unknowns; ++i) {
            system.push_back({sum(weighted + size_t(i))});
            for (int j = 0; j < unknowns; ++j)
                system.back().push_back(sum(size_t(i + j)));
        }
        return system;
    }
    std::vector<int> rows;
    for (int row = 1; row < steps.points.rowCount(); ++row)
        rows.push_back(row);
    const ExactPoints read = exactPoints(steps.points, rows);
    if (read.unread) {
        unavailable = "Points, row " + IntToStr(read.unread->first) + ", " +
                      (read.unread->second == 0 ? "x" : "f(x)") +
                      " is no number the exact arithmetic reads.";
        return {};
    }
    for (size_t k = 0; k < read.xs.size(); ++k) {
        system.push_back({read.ys[k].value()});
        mpq_class power = 1;
        for (int j = 0; j < unknowns; ++j, power *= read.xs[k].value())
            system.back().push_back(power);
    }
    return system;
}

CellAudit audit(std::string where, double single, const mpq_class& exact) {
    const mpq_class error = abs(mpq_class(single) - exact);
    double relative = 0;
    if (sgn(exact) != 0)
        relative = mpq_class(error / abs(exact)).get_d();
    else if (sgn(error) != 0)
        relative = 1;
    const int kept = relative == 0
                         ? kSingleDigits
                         : std::clamp(int(std::floor(-std::log10(relative))), 0, kSingleDigits);
    return {std::move(where), FloatToStr(single), roundedText(exact), kept,
            relative > std::pow(10.0, -kAgreementDigits)};
}

void note(ExactSteps& exact, size_t k, StepAudit audit) {
    for (const CellAudit& cell : audit.cells)
        audit.fewestKept = std::min(audit.fewestKept, cell.keptDigits);
    const int lost = kSingleDigits - audit.fewestKept;
    if (lost > exact.mostLost) {
        exact.mostLost = lost;
        exact.worst = k;
    }
    exact.steps[k] = std::move(audit);
}

// Build: the grid's texts as read against the exact system.
StepAudit buildAudit(const CellTable& built, const Matrix& system,
                     const std::function<std::string(int)>& where) {
    StepAudit build;
    for (int r = 1; r < built.rowCount() && r <= int(system.size()); ++r)
        for (int c = 0; c < built.colCount(); ++c)
            if (readsAsNumber(built.cell(c, r)))
                try {
                    build.cells.push_back(audit(where(c), StrToFloat(built.cell(c, r)),
                                                system[size_t(r - 1)][size_t(c)]));
                } catch (const EConvertError&) {
                    // beyond a double: no single value to compare
                }
    return build;
}

// Back substitution, from the exact reduced system.
void auditSubstitutions(ExactSteps& exact, const SolveSteps& steps, const Matrix& system,
                        int unknowns) {
    std::vector<mpq_class> solved(static_cast<size_t>(unknowns));
    for (size_t k = 0; k < steps.steps.size(); ++k) {
        const SolveStep& step = steps.steps[k];
        if (step.kind != SolveStep::Kind::substitute || std::isnan(step.operand))
            continue;
        const size_t n = size_t(step.row - 1);
        mpq_class s = system[n][0];
        for (size_t c = n + 1; c < size_t(unknowns); ++c)
            s -= system[n][c + 1] * solved[c];
        solved[n] = s;
        note(exact, k, {{audit(steps.letters.at(n), step.operand, s)}});
    }
}

} // namespace

ExactSteps exactSteps(const SolveSteps& steps) {
    ExactSteps exact;
    exact.steps.resize(steps.steps.size());
    const CellTable built = builtSystem(steps);
    const int unknowns = built.colCount() - 1;
    if (unknowns > kMaxExactUnknowns || unknowns < 1) {
        exact.unavailable = "Exact values are worked out for systems of up to " +
                            IntToStr(kMaxExactUnknowns) + " unknowns; this one has " +
                            IntToStr(std::max(unknowns, 0)) + ".";
        return exact;
    }
    Matrix system = exactSystem(steps, unknowns, exact.unavailable);
    if (system.empty())
        return exact;
    const auto where = [&](int col) {
        return col == 0 ? std::string("Answer") : built.cell(col, 0);
    };

    note(exact, 0, buildAudit(built, system, where));
    bool exactGoesOn = true; // until an exact pivot is zero
    replay(steps, [&](size_t k, const std::function<double(int, int)>& value) {
        if (!exactGoesOn || k >= steps.steps.size())
            return;
        const SolveStep& step = steps.steps[k];
        const size_t row = size_t(step.row - 1), pivot = size_t(step.pivotRow - 1);
        if (step.kind == SolveStep::Kind::divide) {
            const mpq_class p = system[row][row + 1];
            if (sgn(p) == 0) {
                exactGoesOn = false;
                exact.unavailable = "The exact system has a zero pivot in row " +
                                    IntToStr(step.row) + ": from there on it has no values.";
                return;
            }
            for (mpq_class& cell : system[row])
                cell /= p;
        } else if (step.kind == SolveStep::Kind::subtract) {
            const mpq_class factor = system[row][pivot + 1];
            for (size_t c = 0; c < system[row].size(); ++c)
                system[row][c] -= factor * system[pivot][c];
        }
        StepAudit changed;
        for (int c = 0; c <= unknowns; ++c)
            try {
                changed.cells.push_back(
                    audit(where(c), value(c, step.row), system[row][size_t(c)]));
            } catch (const EConvertError&) {
            }
        note(exact, k, std::move(changed));
    });

    if (exactGoesOn)
        auditSubstitutions(exact, steps, system, unknowns);
    return exact;
}

std::string worstStepText(const SolveSteps& steps, const ExactSteps& exact) {
    if (!exact.unavailable.empty() && !exact.worst)
        return exact.unavailable;
    if (!exact.worst)
        return "No step lost a digit of single precision.";
    const int lost = exact.mostLost;
    return "step " + IntToStr(int(*exact.worst) + 1) + ", " + caption(steps, *exact.worst) + ": " +
           IntToStr(lost) + (lost == 1 ? " digit" : " digits") + " lost";
}

std::string keptDigitsText(int kept) {
    return "kept " + IntToStr(kept) + " of " + IntToStr(kSingleDigits) + " digits";
}
