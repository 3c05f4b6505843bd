#include "fitting/solve_steps.h"

#include "fitting/solver.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <algorithm>
#include <cmath>

namespace {

// An operand as the caption quotes it; one never read (the step failed
// first) as an ellipsis.
std::string operandText(double value) {
    return std::isnan(value) ? "…" : FloatToStr(value);
}

// " − 6 × Row 3", or " + 6 × Row 3" for a negative factor.
std::string minusTimes(double factor, const std::string& what) {
    if (!std::isnan(factor) && factor < 0)
        return " + " + FloatToStr(-factor) + " × " + what;
    return " − " + operandText(factor) + " × " + what;
}

// The terms of a substitution shown before the rest are counted.
constexpr size_t kShownTerms = 3;

} // namespace

std::pair<size_t, size_t> termRange(const SolveSteps& steps, size_t k) {
    const size_t solvedBefore = size_t(steps.equations - steps.steps.at(k).row);
    const size_t first = solvedBefore * solvedBefore;
    const size_t end = std::min(first + 1 + 2 * solvedBefore, steps.terms.size());
    return {std::min(first, end), end};
}

std::string caption(const SolveSteps& steps, size_t k) {
    const SolveStep& step = steps.steps.at(k);
    const std::string row = "Row " + IntToStr(step.row);
    switch (step.kind) {
    case SolveStep::Kind::build:
        return "Build";
    case SolveStep::Kind::divide:
        return row + " ÷ " + operandText(step.operand);
    case SolveStep::Kind::subtract:
        return row + minusTimes(step.operand, "Row " + IntToStr(step.pivotRow));
    case SolveStep::Kind::substitute:
        break;
    }
    const size_t letter = size_t(step.row - 1);
    std::string text = (letter < steps.letters.size() ? steps.letters[letter] : "?") + " = ";
    const auto [first, end] = termRange(steps, k);
    if (first >= end)
        return text + "…";
    text += FloatToStr(steps.terms[first]);
    const size_t pairs = (end - first - 1) / 2;
    for (size_t t = 0; t < pairs && t < kShownTerms; ++t) {
        const double a = steps.terms[first + 1 + 2 * t], b = steps.terms[first + 2 + 2 * t];
        text += minusTimes(a, FloatToStr(b));
    }
    if (pairs > kShownTerms)
        text += " − … (" + IntToStr(int(pairs - kShownTerms)) + " more)";
    return text;
}

CellTable builtSystem(const SolveSteps& steps) {
    return steps.kind->builtSystem(steps);
}

void replay(const SolveSteps& steps,
            const std::function<void(size_t, const std::function<double(int, int)>&)>& done) {
    CellTable grid = builtSystem(steps);
    StepHook hook;
    hook.next = 1;
    hook.done = done;
    try {
        eliminate(grid, &hook);
    } catch (const Exception&) {
        // the replay ends where the solve ended
    }
}

CellTable systemAfter(const SolveSteps& steps, size_t k) {
    CellTable grid = builtSystem(steps);
    if (k == 0)
        return grid;
    StepHook hook;
    hook.next = 1;
    hook.stopBefore = k + 1;
    try {
        eliminate(grid, &hook);
    } catch (const Exception&) {
        // a failing step leaves the grid as the failure did
    }
    return grid;
}
