#include "fitting/fit_check.h"

#include "support/solved_grids.h"

#include <gtest/gtest.h>

namespace {

using Verdict = FitReport::Verdict;

class FitCheckTest : public ::testing::Test, public SolvedGrids {};

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

} // namespace
