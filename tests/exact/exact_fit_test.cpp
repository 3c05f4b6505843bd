#include "exact/exact_fit.h"

#include "exact/exact_number.h"
#include "fitting/fit_report.h"
#include "fitting/point_file.h"
#include "fitting/point_table.h"
#include "support/solved_grids.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

using Verdict = FitComparison::Verdict;

class ExactFitTest : public ::testing::Test, public SolvedGrids {
  protected:
    FitComparison compare() { return ExactFit(points).compare(coefficients); }
    static Texts exactValues(const FitComparison& comparison) {
        Texts values;
        for (const CoefficientCheck& c : comparison.coefficients)
            values.push_back(c.exact);
        return values;
    }
    static std::vector<bool> offCoefficients(const FitComparison& comparison) {
        std::vector<bool> off;
        for (const CoefficientCheck& c : comparison.coefficients)
            off.push_back(c.off);
        return off;
    }
    static std::vector<bool> offPoints(const FitComparison& comparison) {
        std::vector<bool> off;
        for (const PointCheck& p : comparison.points)
            off.push_back(p.off);
        return off;
    }
};

TEST_F(ExactFitTest, TheDefaultPointsAgreeExactly) {
    solve({{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}});
    const FitComparison comparison = compare();
    EXPECT_EQ(comparison.verdict, Verdict::agrees);
    EXPECT_EQ(exactValues(comparison), (Texts{"2", "3", "-2", "1"}));
    EXPECT_FALSE(comparison.worstCoefficient) << "no difference at all";
    ASSERT_EQ(comparison.points.size(), 4u);
    EXPECT_EQ(comparison.points[3].shownValue, "46");
    EXPECT_EQ(comparison.points[3].miss, "0");
}

TEST_F(ExactFitTest, SinglePrecisionRoundingStillAgrees) {
    solve({{"0", "0.1"}, {"1", "1.1"}, {"2", "4.1"}});
    const FitComparison comparison = compare();
    EXPECT_EQ(comparison.verdict, Verdict::agrees);
    ASSERT_EQ(comparison.coefficients.size(), 3u);
    EXPECT_EQ(comparison.coefficients[0].shown, "0.100000001490116");
    EXPECT_EQ(comparison.coefficients[0].exact, "0.1");
    EXPECT_EQ(comparison.coefficients[0].difference, "1.490116E-9");
    EXPECT_FALSE(comparison.coefficients[0].off);
    EXPECT_EQ(comparison.worstCoefficient, 0u);
    EXPECT_EQ(comparison.worstDifference, "1.49012E-9");
    EXPECT_EQ(comparison.digitsKept, 8);
}

TEST_F(ExactFitTest, AnIllConditionedSolveIsOffAndTheExactValuesFixIt) {
    solveAllOnes(10);
    const FitComparison comparison = compare();
    EXPECT_EQ(comparison.verdict, Verdict::off);
    EXPECT_EQ(exactValues(comparison), Texts(10, "1"));
    EXPECT_TRUE(comparison.coefficientsOff);
    EXPECT_EQ(comparison.worstCoefficient, 2u);
    EXPECT_EQ(comparison.worstDifference, "1963.79");
    EXPECT_EQ(comparison.largestExact, "1");
    EXPECT_EQ(comparison.digitsKept, 0);
    EXPECT_TRUE(comparison.worstPoint);

    ExactFit(points).writeExactValues(coefficients);
    EXPECT_EQ(columnTexts(coefficients, 1), Texts(10, "1"));
    EXPECT_EQ(compare().verdict, Verdict::agrees);
}

TEST_F(ExactFitTest, RungeAtDegree190GivesEachExactValueAndTheyThenAgree) {
    // The largest coefficient is near 1E64; A is 1, the point (0, 1) says so.
    Grid rows;
    for (int k = 0; k <= 190; ++k) {
        const double x = (k - 95) / 95.0;
        rows.push_back({FloatToStr(x), FloatToStr(1 / (1 + 25 * x * x))});
    }
    try {
        solve(rows);
    } catch (const Exception&) {
        // single precision may stop on the way; the exact fit stands
    }
    const FitComparison comparison = compare();
    EXPECT_EQ(comparison.verdict, Verdict::off);
    EXPECT_EQ(comparison.coefficients[0].exact, "1");
    EXPECT_EQ(comparison.coefficients[1].exact, "0");
    EXPECT_EQ(comparison.coefficients[2].exact.substr(0, 4), "-24.") << "25 x² less its Runge tail";

    ExactFit(points).writeExactValues(coefficients);
    EXPECT_EQ(coefficients.cell(1, 1), "1");
    const FitComparison written = compare();
    EXPECT_EQ(written.verdict, Verdict::agrees)
        << "the exact fit in 15 digits misses no point by more than itself";
    EXPECT_FALSE(written.coefficientsOff);
}

TEST_F(ExactFitTest, AfterUseExactValuesTheWordsSayWhatTheShownValuesAre) {
    for (const bool leastSquares : {false, true}) {
        const Grid rows{{"0", "0"}, {"3", "1"}}; // B = 1/3, which 15 digits only come near
        if (leastSquares)
            solveLeastSquares(rows, 1);
        else
            solve(rows);
        const ExactFit fit =
            leastSquares ? ExactFit::nearest(points, filledRows(points), 1) : ExactFit(points);
        fit.writeExactValues(coefficients);
        const FitReport report = reportOn(fit.compare(coefficients));
        EXPECT_TRUE(report.exactWritten);
        EXPECT_TRUE(report.summary.ends_with("fit, each rounded to 15 significant digits."))
            << report.summary;
        EXPECT_EQ(report.reason.find("single precision, which carries"), std::string::npos)
            << report.reason;
        coefficients.setCell(1, 2, "0.333333333333332");
        EXPECT_FALSE(fit.compare(coefficients).exactWritten) << "one digit from it";
    }
}

TEST_F(ExactFitTest, OnlyTheOffCoefficientsAndPointsAreMarked) {
    solve({{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}});
    coefficients.setCell(1, 2, "3.001");
    const FitComparison comparison = compare();
    EXPECT_EQ(comparison.verdict, Verdict::off);
    EXPECT_EQ(comparison.coefficients[1].difference, "0.001");
    EXPECT_EQ(offCoefficients(comparison), (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(comparison.points[3].miss, "0.004");
    EXPECT_EQ(comparison.worstPoint, 3u);
    EXPECT_EQ(comparison.worstMiss, "0.004");
    // Misses of 0.0002 x against 1E-5 of the largest f(x), 46: off from x = 3 on.
    coefficients.setCell(1, 2, "3.0002");
    EXPECT_EQ(offPoints(compare()), (std::vector<bool>{false, false, true, true}));
}

TEST_F(ExactFitTest, AShownValueThatIsNoNumberIsOff) {
    solve({{"1", "4"}, {"2", "8"}});
    coefficients.setCell(1, 2, "abc");
    const FitComparison comparison = compare();
    EXPECT_EQ(comparison.verdict, Verdict::off);
    EXPECT_EQ(comparison.unreadable, 1u);
    EXPECT_EQ(comparison.points[0].shownValue, "");
}

TEST_F(ExactFitTest, PointsMissedByMoreThanTheRuleAllowsAreOffThoughTheCoefficientsAgree) {
    // (x - 10)(x - 11)(x - 12) = x³ - 33x² + 362x - 1320: coefficients in
    // the thousands, f(x) at most 6. A off by 0.01 is within 1E-5 of 1320,
    // and misses every point by 0.01, far beyond 1E-5 of 6.
    solve({{"10", "0"}, {"11", "0"}, {"12", "0"}, {"13", "6"}});
    coefficients.setCell(1, 1, "-1319.99");
    const FitComparison comparison = compare();
    EXPECT_FALSE(comparison.coefficientsOff);
    EXPECT_EQ(offPoints(comparison), (std::vector<bool>(4, true)));
    EXPECT_EQ(comparison.verdict, Verdict::off) << "the points decide too";
    EXPECT_EQ(comparison.worstMiss, "0.01");
}

TEST_F(ExactFitTest, RowsThatShareAnXHaveNoExactFit) {
    points = tableOf(2, {{"1", "4"}, {"2", "8"}, {"3", "20"}, {"2.0", "9"}});
    FitComparison comparison = compare();
    EXPECT_EQ(comparison.verdict, Verdict::noExactFit);
    ASSERT_TRUE(comparison.noFit);
    EXPECT_EQ(comparison.noFit->rows, (std::vector<int>{2, 4}));
    EXPECT_EQ(comparison.noFit->text, "2");
    EXPECT_EQ(comparison.noFit->degree, 3);
    EXPECT_TRUE(comparison.coefficients.empty());
    points = tableOf(2, {{"5", "4"}, {"5", "8"}, {"3", "20"}, {" 5", "9"}});
    comparison = compare();
    EXPECT_EQ(comparison.noFit->rows, (std::vector<int>{1, 2, 4}));
}

TEST_F(ExactFitTest, NumbersBeyondTheExactLimitsAreNamed) {
    points = tableOf(2, {{"1", "4"}, {"2." + std::string(38, '0') + "1", "8"}}); // 40 digits
    EXPECT_EQ(compare().verdict, Verdict::off) << "checked: the most digits it reads";
    points = tableOf(2, {{"1", "4"}, {"2." + std::string(39, '0') + "1", "8"}});
    EXPECT_EQ(compare().verdict, Verdict::unchecked) << "one more";
    points = tableOf(2, {{"1", "4"}, {"1E-500", "8"}});
    const FitComparison comparison = compare();
    EXPECT_EQ(comparison.verdict, Verdict::unchecked);
    ASSERT_TRUE(comparison.noFit);
    EXPECT_EQ(comparison.noFit->why, NoExactFit::Why::unreadPoint);
    EXPECT_EQ(comparison.noFit->rows, std::vector<int>{2});
    EXPECT_EQ(comparison.noFit->text, "1E-500");
}

TEST_F(ExactFitTest, PointsAcrossTheWholeRangeOfADoubleStillGetAVerdict) {
    Grid rows, values;
    for (int k = 0; k <= 60; ++k) {
        rows.push_back({"1.23456789012345E" + std::to_string(10 * k - 300), std::to_string(k)});
        values.push_back({"", "1.23456789012345E-" + std::to_string(k)});
    }
    points = tableOf(2, rows);
    coefficients = tableOf(2, values);
    const FitComparison comparison = compare();
    EXPECT_EQ(comparison.verdict, Verdict::off);
    EXPECT_EQ(comparison.coefficients[0].exact, "-1.0000000002E-10")
        << "A to digits of its own, as fractions give it, however small beside the largest";
    EXPECT_EQ(comparison.points[0].miss, "1.23456789012345") << "A, and the rest far below it";
}

// Points from 1E-300 to 1E300 at degree 150: the exact values at them would
// run to tens of thousands of digits, and the check says so instead of
// working for minutes; at degree 1 the same spread is checked.
TEST_F(ExactFitTest, ValuesTooLongToWaitForAreNotChecked) {
    Grid rows;
    for (int k = 0; k <= 150; ++k)
        rows.push_back({std::to_string(k + 1) + (k % 2 ? "E-300" : "E300"), std::to_string(k)});
    points = tableOf(2, rows);
    coefficients = CellTable(2, 152);
    const FitComparison comparison = compare();
    EXPECT_EQ(comparison.verdict, Verdict::unchecked);
    ASSERT_TRUE(comparison.noFit);
    EXPECT_EQ(comparison.noFit->why, NoExactFit::Why::tooLong);
    EXPECT_NE(reportOn(comparison).summary.find("too long to wait for"), std::string::npos);
    points = tableOf(2, {{"1E-300", "1"}, {"1E300", "2"}});
    coefficients = tableOf(2, {{"A", "1"}, {"B", "1E-300"}});
    EXPECT_NE(compare().verdict, Verdict::unchecked);
}

// The exact A here is near 2.3E-422, beyond what the exact reader takes back
// from its 15-digit text: the check keeps it as a decimal instead of reading
// that text again (which once gave a garbage value and a check that ran for
// minutes).
TEST_F(ExactFitTest, AnExactValueBeyondTheReadersRangeIsStillCompared) {
    solve({{"3.15164727626781E-292", "-0"}, {"81.375", "-5.84536734759774E-129"}});
    const FitComparison comparison = compare();
    ASSERT_NE(comparison.verdict, Verdict::unchecked);
    ASSERT_EQ(comparison.coefficients.size(), 2u);
    EXPECT_TRUE(comparison.coefficients[0].exact.ends_with("E-422"))
        << comparison.coefficients[0].exact;
    EXPECT_EQ(comparison.points.size(), 2u);
}

TEST_F(ExactFitTest, ExactValuesBeyondADoubleWriteNothing) {
    points = tableOf(2, {{"0", "0"}, {"1E-300", "1E300"}});
    coefficients = tableOf(2, {{"A", "a"}, {"B", "b"}});
    try {
        ExactFit(points).writeExactValues(coefficients);
        ADD_FAILURE() << "no error";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "The exact coefficient B is 1E600, beyond the range of a "
                                   "double: no value was written.");
    }
    EXPECT_EQ(columnTexts(coefficients, 1), (Texts{"a", "b"}));
}

} // namespace

namespace {

class LeastSquaresFitTest : public ExactFitTest {
  protected:
    FitComparison compareLeastSquares(int degree) {
        return ExactFit::nearest(points, filledRows(points), degree).compare(coefficients);
    }
    void useExactValues(int degree) {
        ExactFit::nearest(points, filledRows(points), degree).writeExactValues(coefficients);
    }
};

// As many points as coefficients: no degrees of freedom, so no spread to
// speak of; one more, and a line's standard errors are the textbook's.
TEST_F(LeastSquaresFitTest, StandardErrorsNeedDegreesOfFreedom) {
    solveLeastSquares({{"0", "1"}, {"1", "3"}}, 1);
    const FitStatistics exact = *compareLeastSquares(1).statistics;
    EXPECT_EQ(exact.degreesOfFreedom, 0);
    EXPECT_EQ(exact.residualSd, "-");
    EXPECT_EQ(exact.standardErrors, (Texts{"-", "-"}));
    solveLeastSquares({{"0", "0"}, {"1", "1"}, {"2", "1"}}, 1);
    const FitStatistics line = *compareLeastSquares(1).statistics;
    // y = 1/6 + x/2, residuals -1/6, 1/3, -1/6: s² = (1/6)/1, Sxx = 2, so
    // se(B) = sqrt(1/12) and se(A) = sqrt(1/6 (1/3 + 1/2)) = sqrt(5/36).
    EXPECT_EQ(line.degreesOfFreedom, 1);
    EXPECT_EQ(line.residualSd, "0.408248290463863");
    EXPECT_EQ(line.standardErrors, (Texts{"0.372677996249965", "0.288675134594813"}));
    EXPECT_EQ(line.tValues, (Texts{"0.447213595499958", "1.73205080756888"}));
    EXPECT_EQ(line.adjustedR2, "0.5");
    // The bands' basis: t = x - 1 over the points, where the normal matrix is
    // diag(3, 2).
    EXPECT_EQ(line.bandCenter, 1);
    EXPECT_EQ(line.bandScale, 1);
    ASSERT_EQ(line.bandInverse.size(), 4u);
    EXPECT_DOUBLE_EQ(line.bandInverse[0], 1.0 / 3);
    EXPECT_DOUBLE_EQ(line.bandInverse[1], 0);
    EXPECT_DOUBLE_EQ(line.bandInverse[3], 0.5);
}

TEST_F(LeastSquaresFitTest, TheDefaultPointsAreOffUntilTheExactValuesAreUsed) {
    solveLeastSquares({{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}}, 3);
    const FitComparison shown = compareLeastSquares(3);
    EXPECT_EQ(shown.verdict, Verdict::off);
    EXPECT_EQ(exactValues(shown), (Texts{"2", "3", "-2", "1"}));
    EXPECT_EQ(offPoints(shown), (std::vector<bool>(4, false))) << "residuals are no fault";
    EXPECT_LT(shown.digitsKept, 5);
    ASSERT_TRUE(shown.statistics);

    useExactValues(3);
    EXPECT_EQ(columnTexts(coefficients, 1), (Texts{"2", "3", "-2", "1"}));
    const FitComparison exact = compareLeastSquares(3);
    EXPECT_EQ(exact.verdict, Verdict::agrees);
    ASSERT_TRUE(exact.statistics);
    EXPECT_EQ(exact.statistics->shownSquares, "0");
    EXPECT_EQ(exact.statistics->shownR2, "1");
    for (const PointCheck& point : exact.points)
        EXPECT_EQ(point.miss, "0") << "x = " << point.x;
}

// Residuals and squared errors of a noisy quadratic, against sums by hand.
TEST_F(LeastSquaresFitTest, TheFitsNumbersAreTheExactOnes) {
    const Grid rows = {{"0", "1"}, {"1", "3"}, {"", ""}, {"2", "4"}, {"3", "10"}};
    solveLeastSquares(rows, 1);
    coefficients.setCell(1, 1, "0.5");
    coefficients.setCell(1, 2, "2.5");
    const FitComparison comparison = compareLeastSquares(1);
    ASSERT_TRUE(comparison.statistics);
    const FitStatistics& fit = *comparison.statistics;
    // By hand: mean x 1.5, mean f(x) 4.5, Σ(x - 1.5)² = 5, Σ(x - 1.5)(f - 4.5)
    // = 14, so the exact line is 0.3 + 2.8x, residuals -0.7, 0.1, 1.9, -1.3,
    // squared error 5.8. Under the shown 0.5 + 2.5x the points stand off
    // the line by 0.5, 0, -1.5, 2 (f(x) less the line): 6.5. Total squares
    // 45; RMS sqrt(6.5 / 4) = 1.27475487839819 and a little.
    EXPECT_EQ(exactValues(comparison), (Texts{"0.3", "2.8"}));
    EXPECT_EQ(fit.points, 4u);
    EXPECT_EQ(fit.shownSquares, "6.5");
    EXPECT_EQ(fit.exactSquares, "5.8");
    EXPECT_EQ(fit.shownR2, "0.855555555555556");
    EXPECT_EQ(fit.exactR2, "0.871111111111111");
    EXPECT_EQ(fit.shownRms, "1.2747548783982") << "…819 rounds up";
    EXPECT_EQ(fit.lineR2, "0.855556");
    EXPECT_EQ(fit.lineRms, "1.27475");
    ASSERT_TRUE(fit.largest);
    EXPECT_EQ(comparison.points[*fit.largest].row, 5) << "rows keep their table numbers";
    EXPECT_EQ(fit.largestResidual, "2");
    Texts misses;
    for (const PointCheck& point : comparison.points)
        misses.push_back(point.miss);
    EXPECT_EQ(misses, (Texts{"0.5", "0", "-1.5", "2"})) << "observed less fitted";
}

TEST_F(LeastSquaresFitTest, HighPowersOfCloseXLoseTheSinglePrecisionFit) {
    Grid rows;
    for (int x = 1000; x <= 1100; x += 5)
        rows.push_back({std::to_string(x), std::to_string((x % 7) - 3)});
    solveLeastSquares(rows, 6);
    EXPECT_EQ(compareLeastSquares(6).verdict, Verdict::off);
    useExactValues(6);
    EXPECT_EQ(compareLeastSquares(6).verdict, Verdict::agrees);
}

TEST_F(LeastSquaresFitTest, AShownValueThatIsNoNumberIsOffWithNoNumbersOfTheFit) {
    solveLeastSquares({{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}}, 1);
    coefficients.setCell(1, 2, "two");
    const FitComparison comparison = compareLeastSquares(1);
    EXPECT_EQ(comparison.verdict, Verdict::off);
    EXPECT_EQ(comparison.unreadable, 1u);
    EXPECT_FALSE(comparison.statistics) << "no fit to give numbers of";
}

TEST_F(LeastSquaresFitTest, AResidualThatFloatingPointCannotTellIsWorkedOutExactly) {
    // x near 1E10: x² has 21 digits, more than 64-bit floating point holds,
    // and the residuals are ±0.5 exactly under the shown x².
    const Grid rows = {{"10000000001", "100000000020000000001.5"},
                       {"10000000002", "100000000040000000003.5"},
                       {"10000000003", "100000000060000000009.5"}};
    points = tableOf(2, rows);
    coefficients = tableOf(2, {{"A", "0"}, {"B", "0"}, {"C", "1"}});
    Texts residuals;
    for (const PointCheck& point : compareLeastSquares(2).points)
        residuals.push_back(point.miss);
    EXPECT_EQ(residuals, (Texts{"0.5", "-0.5", "0.5"}));
}

TEST_F(LeastSquaresFitTest, TooFewDifferentXHasNoFit) {
    points = tableOf(2, {{"1", "2"}, {"1", "3"}, {"2", "4"}});
    const FitComparison comparison = compareLeastSquares(2);
    EXPECT_EQ(comparison.verdict, Verdict::noExactFit);
    ASSERT_TRUE(comparison.noFit);
    EXPECT_EQ(comparison.noFit->why, NoExactFit::Why::fewDistinctX);
    EXPECT_EQ(comparison.noFit->count, 2u);
}

TEST_F(ExactFitTest, ResidualsAreTheSameUnderADecimalCommaLocale) {
    const auto residuals = [this] {
        solveLeastSquares({{"1.5", "2.25"}, {"2.5", "6.5"}, {"3.5", "12"}, {"4.5", "20.5"}}, 1);
        Texts misses;
        for (const PointCheck& point :
             ExactFit::nearest(points, filledRows(points), 1).compare(coefficients).points)
            misses.push_back(point.shownValue + " " + point.miss);
        return misses;
    };
    const Texts inC = residuals();
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale here (scripts/setup makes it as root)";
    const Texts inGerman = residuals();
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(inGerman, inC);
    EXPECT_EQ(inC[0], "1.275 0.975") << "the line at x = 1.5, not at 1";
}

// A set of the NIST Statistical Reference Datasets for linear least
// squares and its certified values, as NIST prints them.
struct CertifiedFit {
    const char* name;
    int degree;
    std::vector<const char*> estimates;
    const char* r2;
    std::vector<const char*> deviations; // the standard deviation of each estimate
    const char* residualDeviation;
    HeldValues held = {}; // the NoInt sets: A at 0, R² uncentred
};

class CertifiedLeastSquares : public ::testing::TestWithParam<CertifiedFit> {};

// A certified figure as Tarvel writes 15 significant digits; "-" where a
// held coefficient has none.
std::string certified(const char* text) {
    return std::string(text) == "-" ? text : roundedText(exactDecimal(text)->value());
}

TEST_P(CertifiedLeastSquares, TheExactFitHasEveryCertifiedDigit) {
    const CertifiedFit& set = GetParam();
    const PointFile file = readPointsCsv(
        readPointFileBytes(std::string(TARVEL_TEST_DATA "/strd/") + set.name + ".csv"), 1000);
    CellTable points(2, int(file.points.size()) + 1);
    for (size_t k = 0; k < file.points.size(); ++k)
        for (const int col : {0, 1})
            points.setCell(col, int(k) + 1, file.points[k][col]);
    CellTable coefficients(2, set.degree + 2);
    for (int k = 0; k <= set.degree; ++k)
        coefficients.setCell(1, k + 1, set.estimates[size_t(k)]);
    const FitComparison fit =
        ExactFit::nearest(points, filledRows(points), set.degree, set.held).compare(coefficients);
    ASSERT_EQ(fit.coefficients.size(), set.estimates.size());
    for (size_t k = 0; k < set.estimates.size(); ++k)
        EXPECT_EQ(fit.coefficients[k].exact, certified(set.estimates[k])) << "B" << k;
    ASSERT_TRUE(fit.statistics);
    const FitStatistics& statistics = *fit.statistics;
    EXPECT_EQ(statistics.exactR2, certified(set.r2));
    EXPECT_EQ(statistics.residualSd, certified(set.residualDeviation));
    ASSERT_EQ(statistics.standardErrors.size(), set.deviations.size());
    for (size_t k = 0; k < set.deviations.size(); ++k)
        EXPECT_EQ(statistics.standardErrors[k], certified(set.deviations[k])) << "B" << k;
    EXPECT_EQ(fit.verdict, FitComparison::Verdict::agrees);
}

const std::vector<const char*> kOnes{"1", "1", "1", "1", "1", "1"};
const std::vector<const char*> kZeros{"0", "0", "0", "0", "0", "0"};

INSTANTIATE_TEST_SUITE_P(
    Nist, CertifiedLeastSquares,
    ::testing::Values(
        CertifiedFit{"Norris",
                     1,
                     {"-0.262323073774029", "1.00211681802045"},
                     "0.999993745883712",
                     {"0.232818234301152", "0.429796848199937E-03"},
                     "0.884796396144373"},
        CertifiedFit{"Pontius",
                     2,
                     {"0.673565789473684E-03", "0.732059160401003E-06", "-0.316081871345029E-14"},
                     "0.999999900178537",
                     {"0.107938612033077E-03", "0.157817399981659E-09", "0.486652849992036E-16"},
                     "0.205177424076185E-03"},
        CertifiedFit{"NoInt1",
                     1,
                     {"0", "2.07438016528926"},
                     "0.999365492298663",
                     {"-", "0.165289256198347E-01"},
                     "3.56753034006338",
                     {{0, "0"}}},
        CertifiedFit{"NoInt2",
                     1,
                     {"0", "0.727272727272727"},
                     "0.993348115299335",
                     {"-", "0.420827318078432E-01"},
                     "0.369274472937998",
                     {{0, "0"}}},
        CertifiedFit{
            "Filip",
            10,
            {"-1467.48961422980", "-2772.17959193342", "-2316.37108160893", "-1127.97394098372",
             "-354.478233703349", "-75.1242017393757", "-10.8753180355343", "-1.06221498588947",
             "-0.670191154593408E-01", "-0.246781078275479E-02", "-0.402962525080404E-04"},
            "0.996727416185620",
            {"298.084530995537", "559.779865474950", "466.477572127796", "227.204274477751",
             "71.6478660875927", "15.2897178747400", "2.23691159816033", "0.221624321934227",
             "0.142363763154724E-01", "0.535617408889821E-03", "0.896632837373868E-05"},
            "0.334801051324544E-02"},
        CertifiedFit{"Wampler1", 5, kOnes, "1", kZeros, "0"},
        CertifiedFit{
            "Wampler2", 5, {"1", "0.1", "0.01", "0.001", "0.0001", "0.00001"}, "1", kZeros, "0"},
        CertifiedFit{"Wampler3",
                     5,
                     kOnes,
                     "0.999995559025820",
                     {"2152.32624678170", "2363.55173469681", "779.343524331583",
                      "101.475507550350", "5.64566512170752", "0.112324854679312"},
                     "2360.14502379268"},
        CertifiedFit{"Wampler4",
                     5,
                     kOnes,
                     "0.957478440825662",
                     {"215232.624678170", "236355.173469681", "77934.3524331583",
                      "10147.5507550350", "564.566512170752", "11.2324854679312"},
                     "236014.502379268"},
        CertifiedFit{"Wampler5",
                     5,
                     kOnes,
                     "0.224668921574940E-02",
                     {"21523262.4678170", "23635517.3469681", "7793435.24331583",
                      "1014755.07550350", "56456.6512170752", "1123.24854679312"},
                     "23601450.2379268"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

// A weighted line by hand in fractions: the weighted normal equations
// [Σw Σwx; Σwx Σwx²] (a, b) = (Σwy, Σwxy), s² = Σ w r² / (n - 2),
// var b = s² Σw / det, R² = 1 - Σ w r² / Σ w (y - ȳ)², ȳ = Σwy / Σw.
TEST(WeightedFit, EveryFigureIsTheWeightedOneToTheLastDigit) {
    const Grid rows = {{"0", "1.2", "1"},   {"1", "2.9", "2"}, {"2", "5.3", "0.5"},
                       {"3", "6.8", "4"},   {"4", "9.4", ""},  {"5", "10.7", "3"},
                       {"6.5", "14", "1.5"}};
    mpq_class sw, swx, swx2, swy, swxy, swy2;
    for (const Texts& row : rows) {
        const mpq_class x = exactDecimal(row[0])->value(), y = exactDecimal(row[1])->value();
        const mpq_class w = row[2].empty() ? mpq_class(1) : exactDecimal(row[2])->value();
        sw += w, swx += w * x, swx2 += w * x * x, swy += w * y, swxy += w * x * y,
            swy2 += w * y * y;
    }
    const mpq_class det = sw * swx2 - swx * swx;
    const mpq_class b = (sw * swxy - swx * swy) / det, a = (swy - b * swx) / sw;
    const mpq_class squares =
        swy2 - 2 * a * swy - 2 * b * swxy + a * a * sw + 2 * a * b * swx + b * b * swx2;
    const mpq_class variance = squares / 5, total = swy2 - swy * swy / sw;

    const CellTable points = tableOf(3, rows);
    CellTable coefficients = tableOf(2, {{"A", "1"}, {"B", "2"}});
    const ExactFit fit = ExactFit::nearest(points, filledRows(points), 1);
    fit.writeExactValues(coefficients);
    EXPECT_EQ(columnTexts(coefficients, 1), (Texts{roundedText(a), roundedText(b)}));
    const FitComparison check = fit.compare(coefficients);
    ASSERT_TRUE(check.statistics);
    const FitStatistics& figures = *check.statistics;
    EXPECT_EQ(figures.exactSquares, roundedText(squares));
    EXPECT_EQ(figures.exactR2, roundedText(1 - squares / total));
    EXPECT_EQ(figures.residualSd, squareRootText(variance));
    EXPECT_EQ(figures.standardErrors[1], squareRootText(variance * sw / det));
    EXPECT_EQ(figures.standardErrors[0], squareRootText(variance * swx2 / det));

    // A weight of 2 is the point twice, as far as the coefficients go.
    Grid twice;
    for (const Texts& row : rows)
        for (int k = 0; k < (row[2] == "2" ? 2 : 1); ++k)
            twice.push_back({row[0], row[1], row[2] == "2" ? "" : row[2]});
    CellTable doubled = tableOf(2, {{"A", ""}, {"B", ""}});
    const CellTable twicePoints = tableOf(3, twice);
    ExactFit::nearest(twicePoints, filledRows(twicePoints), 1).writeExactValues(doubled);
    EXPECT_EQ(columnTexts(doubled, 1), columnTexts(coefficients, 1));
}

TEST(WeightedFit, AWeightThatIsNoPositiveNumberIsNamed) {
    for (const char* weight : {"0", "-1", "heavy"}) {
        const CellTable points = tableOf(3, {{"0", "1", "1"}, {"1", "2", weight}, {"2", "2", ""}});
        const FitReport report = reportOn(ExactFit::nearest(points, filledRows(points), 1)
                                              .compare(tableOf(2, {{"A", "1"}, {"B", "1"}})));
        EXPECT_EQ(report.reason, "Points, row 2, w is '\u2068" + std::string(weight) +
                                     "\u2069': a weight is a number above 0, of at most 40 "
                                     "significant digits; blank weighs 1.");
    }
}

} // namespace

namespace {

struct AgreeingCase {
    const char *exact, *shown;
    int shownDigits, agreeing;
};

class AgreeingDigits : public ::testing::TestWithParam<AgreeingCase> {};

// The constant through one point is its f(x): the exact coefficient.
TEST_P(AgreeingDigits, CountFromTheFirstDigitAgainstTheExactValueRoundedAlike) {
    const AgreeingCase& c = GetParam();
    const FitComparison check =
        ExactFit(tableOf(2, {{"0", c.exact}})).compare(tableOf(2, {{"A", c.shown}}));
    ASSERT_EQ(check.coefficients.size(), 1u);
    EXPECT_EQ(check.coefficients[0].shownDigits, c.shownDigits);
    EXPECT_EQ(check.coefficients[0].agreeingDigits, c.agreeing);
}

INSTANTIATE_TEST_SUITE_P(
    Digits, AgreeingDigits,
    ::testing::Values(AgreeingCase{"2.53322315216064", "2.53322315216064", 15, 15},
                      AgreeingCase{"2.53322315216064", "2.5332232", 8, 8},
                      AgreeingCase{"2.53322315216064", "2.53322327", 9, 7},
                      AgreeingCase{"2.00001", "1.99999", 6, 0}, AgreeingCase{"3", "-3", 1, 0},
                      AgreeingCase{"2.5", "2.50", 3, 3},
                      AgreeingCase{"-0.0001234567", "-1.23457E-4", 6, 6},
                      AgreeingCase{"0", "0", 0, 0}));

} // namespace
