#include "fitting/fit_check.h"

#include "fitting/solver.h"
#include "support/cells.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

namespace {

using Verdict = FitReport::Verdict;

// The three grids of a template of the given degree, with these points,
// solved as GetCoefficients solves them.
class FitCheckTest : public ::testing::Test {
  protected:
    void solve(const Grid& rows) {
        points = tableOf(2, rows);
        const int n = int(rows.size());
        answers = CellTable(n + 1, 2);
        Grid letters;
        for (int k = 0; k < n; ++k)
            letters.push_back({std::string(1, char('A' + k)), ""});
        coefficients = tableOf(2, letters);
        result = solveCoefficients(points, answers, coefficients);
    }
    // Points x = 1 .. count of the polynomial whose every coefficient is 1.
    void solveAllOnes(int count) {
        Grid rows;
        for (long long x = 1; x <= count; ++x) {
            long long fx = 0;
            for (int k = 0; k < count; ++k)
                fx = fx * x + 1;
            rows.push_back({std::to_string(x), std::to_string(fx)});
        }
        solve(rows);
    }
    FitReport check() {
        ExactFit exact(points);
        return exact.compare(coefficients);
    }
    Texts exactValues(const FitReport& report) {
        Texts values;
        for (const CoefficientCheck& c : report.coefficients)
            values.push_back(c.exact);
        return values;
    }

    CellTable points{2, 2}, answers{2, 2}, coefficients{2, 2};
    std::string result;
};

TEST_F(FitCheckTest, TheDefaultPointsAgreeExactly) {
    solve({{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}});
    const FitReport report = check();
    EXPECT_EQ(report.verdict, Verdict::agrees);
    EXPECT_EQ(exactValues(report), (Texts{"2", "3", "-2", "1"}));
    EXPECT_EQ(report.summary, "The shown coefficients are the exact fit. Click for details.");
    EXPECT_EQ(report.points.size(), 4u);
    EXPECT_EQ(report.points[3].shownValue, "46");
    EXPECT_EQ(report.points[3].miss, "0");
}

TEST_F(FitCheckTest, SinglePrecisionRoundingStillAgrees) {
    solve({{"0", "0.1"}, {"1", "1.1"}, {"2", "4.1"}});
    const FitReport report = check();
    EXPECT_EQ(report.verdict, Verdict::agrees);
    ASSERT_EQ(report.coefficients.size(), 3u);
    EXPECT_EQ(report.coefficients[0].shown, "0.100000001490116");
    EXPECT_EQ(report.coefficients[0].exact, "0.1");
    EXPECT_EQ(report.coefficients[0].difference, "1.490116E-9");
    EXPECT_FALSE(report.coefficients[0].off);
    EXPECT_EQ(report.summary, "The shown coefficients agree with the exact fit: the largest "
                              "difference is A by 1.49012E-9. Click for the exact fit.");
    EXPECT_NE(report.reason.find("keep about 8 of them"), std::string::npos) << report.reason;
}

TEST_F(FitCheckTest, AnIllConditionedSolveIsOffAndTheExactValuesFixIt) {
    solveAllOnes(10);
    const FitReport report = check();
    EXPECT_EQ(report.verdict, Verdict::off);
    EXPECT_EQ(exactValues(report), Texts(10, "1"));
    EXPECT_TRUE(report.coefficients[1].off);
    EXPECT_TRUE(report.summary.starts_with("The shown coefficients are off: ")) << report.summary;
    EXPECT_TRUE(report.summary.ends_with(". Click for the exact fit.")) << report.summary;
    EXPECT_NE(report.summary.find("; the polynomial misses x = "), std::string::npos);
    EXPECT_TRUE(report.summary.starts_with("The shown coefficients are off: C by 1963.79; "))
        << report.summary;
    EXPECT_NE(report.reason.find("kept none of them: C is off by 1963.79 where the largest exact "
                                 "coefficient is 1."),
              std::string::npos)
        << report.reason;

    ExactFit(points).writeExactValues(coefficients);
    EXPECT_EQ(columnTexts(coefficients, 1), Texts(10, "1"));
    EXPECT_EQ(check().verdict, Verdict::agrees);
}

TEST_F(FitCheckTest, OnlyTheOffCoefficientsAndPointsAreMarked) {
    solve({{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}});
    coefficients.setCell(1, 2, "3.001");
    const FitReport report = check();
    EXPECT_EQ(report.verdict, Verdict::off);
    EXPECT_EQ(report.coefficients[1].difference, "0.001");
    std::vector<bool> off;
    for (const CoefficientCheck& c : report.coefficients)
        off.push_back(c.off);
    EXPECT_EQ(off, (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(report.points[3].miss, "0.004");
    // Misses of 0.0002 x against 1E-5 of the largest f(x), 46: off from x = 3 on.
    coefficients.setCell(1, 2, "3.0002");
    off.clear();
    for (const PointCheck& p : check().points)
        off.push_back(p.off);
    EXPECT_EQ(off, (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(report.summary, "The shown coefficients are off: B by 0.001; the polynomial misses "
                              "x = 4 by 0.004. Click for the exact fit.");
}

TEST_F(FitCheckTest, AShownValueThatIsNoNumberIsOff) {
    solve({{"1", "4"}, {"2", "8"}});
    coefficients.setCell(1, 2, "abc");
    const FitReport report = check();
    EXPECT_EQ(report.verdict, Verdict::off);
    EXPECT_EQ(report.summary, "The shown coefficient B, '\u2068abc\u2069', is not a number the "
                              "check reads. Click for the exact fit.");
    EXPECT_EQ(report.points[0].shownValue, "");
}

TEST_F(FitCheckTest, RowsThatShareAnXHaveNoExactFit) {
    points = tableOf(2, {{"1", "4"}, {"2", "8"}, {"3", "20"}, {"2.0", "9"}});
    const FitReport report = check();
    EXPECT_EQ(report.verdict, Verdict::noExactFit);
    EXPECT_EQ(report.reason,
              "No polynomial of degree 3 passes through these points: x = 2 is in rows 2 and 4.");
    EXPECT_TRUE(report.coefficients.empty());
    points = tableOf(2, {{"5", "4"}, {"5", "8"}, {"3", "20"}, {" 5", "9"}});
    EXPECT_NE(check().reason.find("x = 5 is in rows 1, 2 and 4."), std::string::npos);
}

TEST_F(FitCheckTest, NumbersBeyondTheExactLimitsAreNamed) {
    points = tableOf(2, {{"1", "4"}, {"1E-500", "8"}});
    EXPECT_EQ(check().verdict, Verdict::unchecked);
    EXPECT_NE(check().reason.find("Points, row 2, x is '\u20681E-500\u2069'."), std::string::npos)
        << check().reason;
}

TEST_F(FitCheckTest, PointsAcrossTheWholeRangeOfADoubleStillGetAVerdict) {
    Grid rows, values;
    for (int k = 0; k <= 60; ++k) {
        rows.push_back({"1.23456789012345E" + std::to_string(10 * k - 300), std::to_string(k)});
        values.push_back({"", "1.23456789012345E-" + std::to_string(k)});
    }
    points = tableOf(2, rows);
    coefficients = tableOf(2, values);
    const FitReport report = check();
    EXPECT_EQ(report.verdict, Verdict::off);
    EXPECT_EQ(report.coefficients[0].exact, "0");
    EXPECT_EQ(report.points[0].miss, "1.23456789012345") << "A, and the rest far below it";
}

TEST_F(FitCheckTest, ExactValuesBeyondADoubleWriteNothing) {
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

TEST_F(FitCheckTest, FollowsTheGridsAndKeepsTheFitOfTheSamePoints) {
    solve({{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}});
    FitCheck fitCheck;
    EXPECT_EQ(fitCheck.report(), nullptr);
    fitCheck.start(points, coefficients, true);
    ASSERT_NE(fitCheck.report(), nullptr);
    const ExactFit* fit = fitCheck.fit();
    coefficients.setCell(1, 1, "2.5");
    fitCheck.follow(points, coefficients);
    EXPECT_EQ(fitCheck.report()->verdict, Verdict::off) << "an edited value is compared again";
    fitCheck.stop();
    fitCheck.start(points, coefficients, true);
    EXPECT_EQ(fitCheck.fit(), fit) << "the same points keep their exact fit";
    points.setCell(1, 1, "5");
    fitCheck.follow(points, coefficients);
    EXPECT_EQ(fitCheck.report(), nullptr) << "an edited point ends the check";
    points.setCell(1, 1, "4");
    fitCheck.follow(points, coefficients);
    EXPECT_EQ(fitCheck.report(), nullptr) << "until the next start";
}

TEST_F(FitCheckTest, AfterAFailedSolveOnlyRowsThatShareAnXAreSaid) {
    FitCheck fitCheck;
    points = tableOf(2, {{"1", "4"}, {"2", "8"}, {"2", "9"}});
    fitCheck.start(points, coefficients, false);
    ASSERT_NE(fitCheck.report(), nullptr);
    EXPECT_EQ(fitCheck.report()->verdict, Verdict::noExactFit);
    points.setCell(0, 3, "3");
    fitCheck.start(points, coefficients, false);
    EXPECT_EQ(fitCheck.report(), nullptr) << "a fit exists: the solver's error says it all";
    points.setCell(0, 3, "four");
    fitCheck.start(points, coefficients, false);
    EXPECT_EQ(fitCheck.report(), nullptr);
}

TEST(FitReportText, IsTheTwoTablesTabSeparated) {
    const FitReport report{Verdict::agrees, "", "", {{"A", "2", "2", "0", false}},
                           {{"1", "4", "4", "0", false}}};
    EXPECT_EQ(reportText(report), "Coefficient\tShown\tExact\tDifference\nA\t2\t2\t0\n\n"
                                  "x\tf(x)\tShown polynomial at x\tMiss\n1\t4\t4\t0\n");
}

} // namespace
