#include "fitting/fit_report.h"

#include "exact/exact_number.h"
#include "exact/interpolation.h"
#include "exact/least_squares.h"
#include "fitting/exact_steps.h"
#include "fitting/normal_equations.h"
#include "toolkit/cell_block.h"
#include "toolkit/conversions.h"
#include "toolkit/message_text.h"

#include <algorithm>

namespace {

std::string rowList(const std::vector<int>& rows) {
    std::string list = IntToStr(rows[0]);
    for (size_t i = 1; i < rows.size(); ++i)
        list += (i + 1 == rows.size() ? " and " : ", ") + IntToStr(rows[i]);
    return list;
}

std::string noFitReason(const NoExactFit& noFit) {
    switch (noFit.why) {
    case NoExactFit::Why::sharedX:
        return "No polynomial of degree " + IntToStr(noFit.degree) +
               " passes through these points: x = " + noFit.text + " is in rows " +
               rowList(noFit.rows) + ".";
    case NoExactFit::Why::unreadPoint:
        if (noFit.col == 2)
            return refusedWeight(noFit.rows[0], noFit.text);
        return "The exact check takes numbers of at most " + IntToStr(kMaxExactDigits) +
               " significant digits, from 1E-" + IntToStr(kMaxExactExponent) + " to 1E" +
               IntToStr(kMaxExactExponent) + " in size; Points, row " + IntToStr(noFit.rows[0]) +
               ", " + (noFit.col == 0 ? "x" : "f(x)") + " is " + quotedText(noFit.text) + ".";
    case NoExactFit::Why::fewDistinctX:
        return tooFewDistinctX(noFit.degree, noFit.count);
    case NoExactFit::Why::tooManySums:
        return "The exact check does not sum " + IntToStr(int(noFit.count)) +
               " points for a least-squares fit of degree " + IntToStr(noFit.degree) +
               ": it would take too long.";
    case NoExactFit::Why::tooLong:
        return "The exact check does not evaluate a polynomial of degree " +
               IntToStr(noFit.degree) + " at these points: its values would run to " +
               std::to_string(noFit.count) + " digits, too long to wait for.";
    case NoExactFit::Why::unsettled:
        break;
    }
    return "The exact fit did not settle to 30 digits within " + std::to_string(kMaxPrecision) +
           " bits of precision.";
}

// Least squares: the coefficients decide, and the fit's numbers follow.
FitReport describeLeastSquares(FitReport report, const std::string& worstLetter,
                               const std::string& keptText) {
    const FitStatistics& fit = *report.statistics;
    const std::string precision = "The normal equations were reduced in single precision, which "
                                  "carries about 7 significant digits";
    const std::string numbers = " R² is " + fit.shownR2 + " shown, " + fit.exactR2 + " exact.";
    if (report.verdict == FitComparison::Verdict::agrees) {
        report.summary = (report.worstCoefficient
                              ? "The shown coefficients agree with the exact least-squares fit: "
                                "the largest difference is " +
                                    worstLetter + " by " + report.worstDifference + "."
                              : "The shown coefficients are the exact least-squares fit.") +
                         numbers;
        report.clickHint = "Click for details.";
        report.reason = precision + "; the shown coefficients keep " + keptText +
                        " of them, measured against the largest exact coefficient.";
        return report;
    }
    const int lost = kSingleDigits - std::min(report.digitsKept, kSingleDigits);
    const std::string lostText =
        IntToStr(lost) + " of the " + IntToStr(kSingleDigits) + " digits single precision carries";
    report.summary = "The shown coefficients are off: " + worstLetter + " by " +
                     report.worstDifference + "; the single-precision normal equations lost " +
                     lostText + "." + numbers;
    report.clickHint = "Click for the exact fit.";
    report.reason = precision +
                    ", and they square how much the points' powers resemble each "
                    "other: the shown coefficients lost " +
                    lostText + ". " + worstLetter + " is off by " + report.worstDifference +
                    " where the largest exact coefficient is " + report.largestExact +
                    ". Use exact values writes the exact least-squares fit.";
    return report;
}

// After Use exact values: the shown values are the exact ones, rounded.
FitReport describeExactWritten(FitReport report) {
    const std::string fit = report.statistics ? "exact least-squares fit" : "exact fit";
    report.summary =
        "The shown coefficients are the " + fit + ", each rounded to 15 significant digits.";
    report.reason = "These are the " + fit +
                    "'s values, each to 15 significant digits of its own; no single-precision "
                    "elimination stands in them.";
    report.clickHint = "Click for details.";
    return report;
}

// Through the points, off: which coefficient, or which point, and why.
FitReport describeOff(FitReport report, const std::string& worstLetter, const std::string& keptText,
                      const std::string& precision) {
    const std::string worstX = report.worstPoint ? report.points[*report.worstPoint].x : "";
    std::string summary = "The shown coefficients are off: ";
    if (report.coefficientsOff)
        summary += worstLetter + " by " + report.worstDifference + (report.worstPoint ? "; " : "");
    if (report.worstPoint)
        summary += "the polynomial misses x = " + worstX + " by " + report.worstMiss;
    report.summary = summary + ".";
    report.clickHint = "Click for the exact fit.";
    if (report.coefficientsOff)
        report.reason = precision +
                        ", and takes its pivots in the order the rows come; here "
                        "the shown coefficients kept " +
                        keptText + " of them: " + worstLetter + " is off by " +
                        report.worstDifference + " where the largest exact coefficient is " +
                        report.largestExact + ".";
    else
        report.reason = precision + "; the shown coefficients keep " + keptText +
                        " of them, but the powers of x magnify what they lose: at x = " + worstX +
                        " the shown polynomial misses f(x) by " + report.worstMiss + ".";
    return report;
}

// The words for what the comparison found.
FitReport describe(FitComparison comparison) {
    FitReport report{std::move(comparison), "", "", ""};
    if (report.noFit) {
        report.reason = noFitReason(*report.noFit);
        report.summary = report.reason;
        report.clickHint = "Click for details.";
        return report;
    }
    const std::string keptText =
        report.digitsKept == 0 ? "none" : "about " + IntToStr(report.digitsKept);
    const std::string precision =
        "The elimination runs in single precision, which carries about 7 significant digits";
    if (report.unreadable) {
        const CoefficientCheck& bad = report.coefficients[*report.unreadable];
        report.summary = "The shown coefficient " + bad.letter + ", " + quotedText(bad.shown) +
                         ", is not a number the check reads.";
        report.clickHint = "Click for the exact fit.";
        report.reason = "The check compares the values the coefficient grid shows with the "
                        "exact ones; " +
                        bad.letter + " holds " + quotedText(bad.shown) + ", which is not a number.";
        return report;
    }
    if (report.exactWritten && report.worstCoefficient)
        return describeExactWritten(std::move(report));
    const std::string worstLetter =
        report.worstCoefficient ? report.coefficients[*report.worstCoefficient].letter : "";
    if (report.statistics)
        return describeLeastSquares(std::move(report), worstLetter, keptText);
    if (report.verdict == FitComparison::Verdict::agrees) {
        report.summary = report.worstCoefficient
                             ? "The shown coefficients agree with the exact fit: the largest "
                               "difference is " +
                                   worstLetter + " by " + report.worstDifference + "."
                             : "The shown coefficients are the exact fit.";
        report.clickHint =
            report.worstCoefficient ? "Click for the exact fit." : "Click for details.";
        report.reason = report.worstCoefficient
                            ? precision + "; the shown coefficients keep " + keptText +
                                  " of them, measured against the largest exact coefficient."
                            : "Every shown coefficient is the exact one.";
        return report;
    }
    return describeOff(std::move(report), worstLetter, keptText, precision);
}

} // namespace

FitReport reportOn(FitComparison comparison, const std::string& solveFailure) {
    FitReport report = describe(std::move(comparison));
    if (!solveFailure.empty() && !report.noFit) {
        report.solveStopped = true;
        report.summary = "The solve stopped at \"" + solveFailure + "\"; the exact fit exists.";
        report.clickHint = "Click for it.";
    }
    return report;
}

const std::array<const char*, 4>& pointColumns(const FitReport& report) {
    return report.statistics ? kResidualColumns : kPointColumns;
}

CellBlock statisticsBlock(const FitStatistics& fit) {
    CellBlock block{{"Least squares", "Shown", "Exact"},
                    {"Points", IntToStr(int(fit.points)), IntToStr(int(fit.points))},
                    {"Squared error", fit.shownSquares, fit.exactSquares},
                    {"R²", fit.shownR2, fit.exactR2},
                    {"RMS residual", fit.shownRms, ""},
                    {"Degrees of freedom", "", IntToStr(int(fit.degreesOfFreedom))},
                    {"Residual standard deviation", "", fit.residualSd},
                    {"Adjusted R²", "", fit.adjustedR2}};
    if (fit.largest)
        block.push_back({"Largest residual", fit.largestResidual, ""});
    return block;
}

CellBlock coefficientBlock(const FitReport& report) {
    CellBlock block{{kCoefficientColumns.begin(), kCoefficientColumns.end()}};
    const FitStatistics* fit = report.statistics ? &*report.statistics : nullptr;
    if (fit)
        block[0].insert(block[0].end(), {"Standard error", "t"});
    for (size_t k = 0; k < report.coefficients.size(); ++k) {
        const CoefficientCheck& c = report.coefficients[k];
        block.push_back({c.letter, c.shown, c.exact, c.difference});
        if (fit && k < fit->standardErrors.size())
            block.back().insert(block.back().end(), {fit->standardErrors[k], fit->tValues[k]});
    }
    return block;
}

std::optional<UntrustedDigits> untrustedDigits(const CoefficientCheck& coefficient) {
    if (coefficient.agreeingDigits >= coefficient.shownDigits)
        return std::nullopt;
    // The significant digit after the last that agrees: digits after the
    // first that is not 0, before any exponent.
    const std::string& text = coefficient.shown;
    int seen = 0;
    size_t from = 0;
    for (; from < text.size(); ++from) {
        const char c = text[from];
        if (c >= '0' && c <= '9' && (seen > 0 || c != '0') && seen++ == coefficient.agreeingDigits)
            break;
    }
    return UntrustedDigits{from, IntToStr(coefficient.agreeingDigits) + " of " +
                                     IntToStr(coefficient.shownDigits) +
                                     " digits agree with the exact fit"};
}

std::string reportText(const FitReport& report) {
    const CellBlock coefficients = coefficientBlock(report);
    CellBlock points{{pointColumns(report).begin(), pointColumns(report).end()}};
    for (const PointCheck& p : report.points)
        points.push_back({p.x, p.fx, p.shownValue, p.miss});
    std::string text = cellBlockText(coefficients);
    for (const CellBlock& more :
         {points, report.statistics ? statisticsBlock(*report.statistics) : CellBlock()})
        if (!more.empty())
            text += '\n' + cellBlockText(more);
    return text;
}

std::string fitNumbersText(const FitStatistics& fit) {
    std::string text = "Over " + IntToStr(int(fit.points)) + " points: squared error " +
                       fit.shownSquares + " shown, " + fit.exactSquares + " exact; R² " +
                       fit.shownR2 + " shown, " + fit.exactR2 + " exact; RMS residual " +
                       fit.shownRms + " shown. ";
    if (fit.degreesOfFreedom <= 0)
        return text + "The exact fit has no degrees of freedom: with no more points than "
                      "coefficients there is no spread to estimate, and no standard errors.";
    text += "The exact fit has " + IntToStr(int(fit.degreesOfFreedom)) +
            (fit.degreesOfFreedom == 1 ? " degree" : " degrees") +
            " of freedom, residual standard deviation " + fit.residualSd + ", adjusted R² " +
            fit.adjustedR2 + ".";
    // Beyond that degree every one is "-"; a held coefficient's alone is.
    if (!fit.standardErrors.empty() &&
        std::all_of(fit.standardErrors.begin(), fit.standardErrors.end(),
                    [](const std::string& error) { return error == "-"; }))
        text +=
            " Standard errors are worked out up to degree " + IntToStr(kMaxUncertaintyDegree) + ".";
    return text;
}

std::vector<std::string> stoppedClauses(const FitStatistics& fit) {
    return {"The solve stopped: the coefficients shown are no fit",
            "the exact fit has R² " + fit.exactR2};
}

std::vector<std::string> statisticsClauses(const FitStatistics& fit, int largestRow) {
    std::vector<std::string> clauses{IntToStr(int(fit.points)) + " points", "R² " + fit.lineR2,
                                     "RMS residual " + fit.lineRms};
    if (fit.degreesOfFreedom > 0)
        clauses.push_back("s " + fit.lineSd);
    if (fit.largest)
        clauses.push_back("largest residual " + fit.largestResidual + " (row " +
                          IntToStr(largestRow) + ")");
    return clauses;
}
