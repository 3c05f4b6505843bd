#include "fitting/exact_steps.h"

#include "exact/exact_fit.h"
#include "exact/exact_system.h"
#include "fitting/fit_kind.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

CellAudit audit(std::string where, double single, const Agreement& agreement) {
    const double relative = agreement.relative;
    const int kept = relative == 0
                         ? kSingleDigits
                         : std::clamp(int(std::floor(-std::log10(relative))), 0, kSingleDigits);
    return {std::move(where), FloatToStr(single), agreement.exact, kept,
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
StepAudit buildAudit(const CellTable& built, const ExactSystem& system,
                     const std::function<std::string(int)>& where) {
    StepAudit build;
    for (int r = 1; r < built.rowCount() && r <= system.equations(); ++r)
        for (int c = 0; c < built.colCount(); ++c)
            if (readsAsNumber(built.cell(c, r)))
                try {
                    const double single = StrToFloat(built.cell(c, r));
                    build.cells.push_back(
                        audit(where(c), single, system.agreement(single, r - 1, c)));
                } catch (const EConvertError&) {
                    // beyond a double: no single value to compare
                }
    return build;
}

// Back substitution, from the exact reduced system.
void auditSubstitutions(ExactSteps& exact, const SolveSteps& steps, ExactSystem& system) {
    for (size_t k = 0; k < steps.steps.size(); ++k) {
        const SolveStep& step = steps.steps[k];
        if (step.kind != SolveStep::Kind::substitute || std::isnan(step.operand))
            continue;
        const int n = step.row - 1;
        system.substitute(n);
        note(exact, k,
             {{audit(steps.letters.at(size_t(n)), step.operand,
                     system.solvedAgreement(step.operand, n))}});
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
    ExactSystem system = steps.kind->exactSystem(steps, unknowns, exact.unavailable);
    if (system.equations() == 0)
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
        const int row = step.row - 1;
        if (step.kind == SolveStep::Kind::divide && !system.divide(row)) {
            exactGoesOn = false;
            exact.unavailable = "The exact system has a zero pivot in row " + IntToStr(step.row) +
                                ": from there on it has no values.";
            return;
        }
        if (step.kind == SolveStep::Kind::subtract)
            system.subtract(row, step.pivotRow - 1);
        StepAudit changed;
        for (int c = 0; c <= unknowns; ++c)
            try {
                const double single = value(c, step.row);
                changed.cells.push_back(audit(where(c), single, system.agreement(single, row, c)));
            } catch (const EConvertError&) {
            }
        note(exact, k, std::move(changed));
    });

    if (exactGoesOn)
        auditSubstitutions(exact, steps, system);
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
