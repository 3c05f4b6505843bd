#include "fitting/fit_report.h"

#include <gtest/gtest.h>

namespace {

using Verdict = FitComparison::Verdict;

// The default points' four coefficients, each as the check found it.
FitComparison fourCoefficients(Verdict verdict) {
    FitComparison comparison{};
    comparison.verdict = verdict;
    for (const char* letter : {"A", "B", "C", "D"})
        comparison.coefficients.push_back({letter, "1", "1", "0", false});
    for (const char* x : {"1", "2", "3", "4"})
        comparison.points.push_back({x, "4", "4", "0", false, 1});
    comparison.largestExact = "3";
    return comparison;
}

struct Wording {
    const char* what;
    FitComparison comparison;
    const char* summary;
    const char* reason;
};

class FitReportWords : public ::testing::TestWithParam<Wording> {};

TEST_P(FitReportWords, SayWhatTheComparisonFound) {
    const FitReport report = reportOn(GetParam().comparison);
    // The summary is the check's; the hint to click is the indicator's alone.
    EXPECT_EQ(report.summary + " " + report.clickHint, GetParam().summary);
    EXPECT_EQ(report.summary.find("Click"), std::string::npos);
    EXPECT_EQ(report.reason, GetParam().reason);
    EXPECT_EQ(report.verdict, GetParam().comparison.verdict) << "the numbers stay as they were";
}

FitComparison withWorst(FitComparison comparison, std::optional<size_t> coefficient,
                        std::optional<size_t> point, int kept, bool coefficientsOff = false) {
    comparison.worstCoefficient = coefficient;
    comparison.worstDifference = "1963.79";
    comparison.coefficientsOff = coefficientsOff;
    comparison.worstPoint = point;
    comparison.worstMiss = "0.004";
    comparison.digitsKept = kept;
    return comparison;
}

FitComparison unreadable() {
    FitComparison comparison = fourCoefficients(Verdict::off);
    comparison.coefficients[1].shown = "abc";
    comparison.unreadable = 1;
    return comparison;
}

FitComparison noFit(NoExactFit why, Verdict verdict) {
    FitComparison comparison{};
    comparison.verdict = verdict;
    comparison.noFit = why;
    return comparison;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FitReportWords,
    ::testing::Values(
        Wording{"exact", fourCoefficients(Verdict::agrees),
                "The shown coefficients are the exact fit. Click for details.",
                "Every shown coefficient is the exact one."},
        Wording{"rounded", withWorst(fourCoefficients(Verdict::agrees), 0, 3, 8),
                "The shown coefficients agree with the exact fit: the largest difference is A "
                "by 1963.79. Click for the exact fit.",
                "The elimination runs in single precision, which carries about 7 significant "
                "digits; the shown coefficients keep about 8 of them, measured against the "
                "largest exact coefficient."},
        Wording{"off", withWorst(fourCoefficients(Verdict::off), 2, 3, 0, true),
                "The shown coefficients are off: C by 1963.79; the polynomial misses x = 4 by "
                "0.004. Click for the exact fit.",
                "The elimination runs in single precision, which carries about 7 significant "
                "digits, and takes its pivots in the order the rows come; here the shown "
                "coefficients kept none of them: C is off by 1963.79 where the largest exact "
                "coefficient is 3."},
        Wording{"misses", withWorst(fourCoefficients(Verdict::off), 2, 3, 6),
                "The shown coefficients are off: the polynomial misses x = 4 by 0.004. Click "
                "for the exact fit.",
                "The elimination runs in single precision, which carries about 7 significant "
                "digits; the shown coefficients keep about 6 of them, but the powers of x "
                "magnify what they lose: at x = 4 the shown polynomial misses f(x) by 0.004."},
        Wording{"unreadable", unreadable(),
                "The shown coefficient B, '\u2068abc\u2069', is not a number the check reads. "
                "Click for the exact fit.",
                "The check compares the values the coefficient grid shows with the exact ones; "
                "B holds '\u2068abc\u2069', which is not a number."},
        Wording{"sharedX",
                noFit({NoExactFit::Why::sharedX, 3, {1, 2, 4}, 0, "5"}, Verdict::noExactFit),
                "No polynomial of degree 3 passes through these points: x = 5 is in rows 1, 2 "
                "and 4. Click for details.",
                "No polynomial of degree 3 passes through these points: x = 5 is in rows 1, 2 "
                "and 4."},
        Wording{"unreadPoint",
                noFit({NoExactFit::Why::unreadPoint, 1, {2}, 0, "1E-500"}, Verdict::unchecked),
                "The exact check takes numbers of at most 40 significant digits, from 1E-400 to "
                "1E400 in size; Points, row 2, x is '\u20681E-500\u2069'. Click for details.",
                "The exact check takes numbers of at most 40 significant digits, from 1E-400 to "
                "1E400 in size; Points, row 2, x is '\u20681E-500\u2069'."}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(FitReportText, IsTheTwoTablesTabSeparated) {
    FitComparison comparison{};
    comparison.verdict = Verdict::agrees;
    comparison.coefficients = {{"A", "2", "2", "0", false}};
    comparison.points = {{"1", "4", "4", "0", false, 1}};
    EXPECT_EQ(reportText(reportOn(comparison)),
              "Coefficient\tShown\tExact\tDifference\nA\t2\t2\t0\n\n"
              "x\tf(x)\tShown polynomial at x\tMiss\n1\t4\t4\t0\n");
}

// In least squares each coefficient carries the exact fit's standard error
// and t value, and the fit's numbers close the text.
TEST(FitReportText, LeastSquaresAddsStandardErrorsAndTheFitsNumbers) {
    FitComparison comparison{};
    comparison.verdict = Verdict::agrees;
    comparison.coefficients = {{"A", "1", "1", "0", false}, {"B", "-2", "-2", "0", false}};
    FitStatistics fit;
    fit.points = 5;
    fit.degreesOfFreedom = 3;
    fit.residualSd = "0.5";
    fit.adjustedR2 = "0.9";
    fit.standardErrors = {"0.25", "0.5"};
    fit.tValues = {"4", "-4"};
    comparison.statistics = fit;
    const FitReport report = reportOn(comparison);
    EXPECT_EQ(coefficientBlock(report),
              (CellBlock{{"Coefficient", "Shown", "Exact", "Difference", "Standard error", "t"},
                         {"A", "1", "1", "0", "0.25", "4"},
                         {"B", "-2", "-2", "0", "0.5", "-4"}}));
    const std::string text = reportText(report);
    for (const char* row : {"Degrees of freedom\t\t3\n", "Residual standard deviation\t\t0.5\n",
                            "Adjusted R²\t\t0.9\n"})
        EXPECT_NE(text.find(row), std::string::npos) << row;
    comparison.statistics.reset();
    EXPECT_EQ(coefficientBlock(reportOn(comparison))[0].size(), 4u) << "through the points";
}

} // namespace
