#pragma once

#include "exact/exact_fit.h"
#include "toolkit/cell_block.h"

#include <array>
#include <optional>
#include <string>

// The exact check in words, as the indicator's tooltip, the panel and Copy
// give it: a comparison, a one-line summary with the worst difference, and
// the reason in a sentence.
struct FitReport : FitComparison {
    std::string summary;
    std::string reason;
    std::string clickHint;     // what the indicator's tooltip adds: "Click for the exact fit."
    bool solveStopped = false; // the shown coefficients are what a failed solve left
};

// `solveFailure`: the message a failed solve ended with, when the exact fit
// exists after all; the summary then says so first.
FitReport reportOn(FitComparison comparison, const std::string& solveFailure = "");

// The column headings of the report's two tables.
inline constexpr std::array<const char*, 4> kCoefficientColumns = {"Coefficient", "Shown", "Exact",
                                                                   "Difference"};
inline constexpr std::array<const char*, 4> kPointColumns = {"x", "f(x)", "Shown polynomial at x",
                                                             "Miss"};

// In least squares the points' last column is their residual, observed less
// fitted as statistics write it: the other way round from the miss.
inline constexpr std::array<const char*, 4> kResidualColumns = {
    "x", "f(x)", "Shown polynomial at x", "Residual f(x) − shown"};
const std::array<const char*, 4>& pointColumns(const FitReport& report);

// The coefficients as the panel shows them and Copy gives them, headings
// first: kCoefficientColumns and, in least squares, the exact fit's
// standard error and t value of each.
CellBlock coefficientBlock(const FitReport& report);

// The digits of a shown coefficient past those that agree with the exact
// value: where they start in its text, in bytes, and the note that says how
// many agree, "7 of 15 digits agree with the exact fit". Nothing when all do.
struct UntrustedDigits {
    size_t from;
    std::string note;
};
std::optional<UntrustedDigits> untrustedDigits(const CoefficientCheck& coefficient);

// The report's tables, tab-separated as the grids copy, one after the other:
// coefficients, points and, in least squares, the fit's numbers.
std::string reportText(const FitReport& report);

// "20 points", "R² 0.998731", "RMS residual 0.0412", the exact fit's
// residual standard deviation "s 0.0435" where it has degrees of freedom,
// "largest residual 0.0933 (row 6)": the fit in clauses, most telling first, so that a
// line too narrow for all of them can leave the last ones out whole.
// `largestRow`: the point table's row of the largest residual.
std::vector<std::string> statisticsClauses(const FitStatistics& fit, int largestRow);
// The fit's numbers in sentences, as the check panel shows them: both fits'
// squared errors and R², then the exact fit's degrees of freedom, residual
// standard deviation and adjusted R², or why it has none.
std::string fitNumbersText(const FitStatistics& fit);
// After a failed solve, whose coefficients are no fit: "The solve stopped",
// "the exact fit has R² 0.987958…".
std::vector<std::string> stoppedClauses(const FitStatistics& fit);
