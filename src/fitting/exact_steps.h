#pragma once

#include "fitting/solve_steps.h"

#include <optional>
#include <string>
#include <vector>

// The exact counterpart of a recorded solve: each step's operation repeated
// in exact arithmetic on the exact inputs (the points' decimals, or the
// exact sums of least squares), beside what single precision made of it.

// Single precision carries about this many significant digits.
inline constexpr int kSingleDigits = 7;

struct CellAudit {
    std::string where;         // the cell's column: "Answer", a letter; or the coefficient
    std::string single, exact; // 15 significant digits each
    int keptDigits; // of kSingleDigits, the single-precision value agrees with the exact one
    bool off;       // by more than the check allows (kAgreementDigits), relative
};

struct StepAudit {
    std::vector<CellAudit> cells; // the cells the step changed; none when it has no exact values
    int fewestKept = kSingleDigits;
};

struct ExactSteps {
    std::vector<StepAudit> steps; // one per recorded step
    std::optional<size_t> worst;  // the step that lost the most digits, the first such
    int mostLost = 0;
    std::string unavailable; // why there are no exact values, when there are none
};

ExactSteps exactSteps(const SolveSteps& steps);

// "kept 3 of 7 digits": what single precision kept of a value.
std::string keptDigitsText(int kept);

// "step 12, Row 4 − 0.9999 × Row 3: 5 digits lost", or that none were.
std::string worstStepText(const SolveSteps& steps, const ExactSteps& exact);
