#include "fitting/fit_check.h"
#include "fitting/fit_kind.h"

#include "support/solved_grids.h"

#include <gtest/gtest.h>

namespace {

using Verdict = FitReport::Verdict;

class FitCheckTest : public ::testing::Test, public SolvedGrids {};

TEST_F(FitCheckTest, FollowsTheGridsAndKeepsTheFitOfTheSamePoints) {
    solve({{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}});
    FitCheck fitCheck;
    EXPECT_EQ(fitCheck.report(), nullptr);
    fitCheck.start(points, coefficients, "", FitKind::throughPoints());
    ASSERT_NE(fitCheck.report(), nullptr);
    const ExactFit* fit = fitCheck.fit();
    coefficients.setCell(1, 1, "2.5");
    fitCheck.follow(points, coefficients);
    EXPECT_EQ(fitCheck.report()->verdict, Verdict::off) << "an edited value is compared again";
    fitCheck.stop();
    fitCheck.start(points, coefficients, "", FitKind::throughPoints());
    EXPECT_EQ(fitCheck.fit(), fit) << "the same points keep their exact fit";
    points.setCell(1, 1, "5");
    fitCheck.follow(points, coefficients);
    EXPECT_EQ(fitCheck.report(), nullptr) << "an edited point ends the check";
    points.setCell(1, 1, "4");
    fitCheck.follow(points, coefficients);
    EXPECT_EQ(fitCheck.report(), nullptr) << "until the next start";
}

// After a failed solve the check stays where it explains the failure.
TEST_F(FitCheckTest, AfterAFailedSolveItOffersTheExactFitOrSaysWhyThereIsNone) {
    FitCheck fitCheck;
    const std::string failure = "Floating point division by zero";
    points = tableOf(2, {{"1", "4"}, {"2", "8"}, {"2", "9"}});
    coefficients = tableOf(2, {{"A", ""}, {"B", ""}, {"C", ""}});
    fitCheck.start(points, coefficients, failure, FitKind::throughPoints());
    ASSERT_NE(fitCheck.report(), nullptr);
    EXPECT_EQ(fitCheck.report()->verdict, Verdict::noExactFit) << "rows share an x";

    points = tableOf(2, {{"5E38", "1"}, {"1E39", "2"}}); // beyond single precision
    coefficients = tableOf(2, {{"A", ""}, {"B", ""}});
    fitCheck.start(points, coefficients, "Floating point overflow", FitKind::throughPoints());
    ASSERT_NE(fitCheck.report(), nullptr) << "the exact fit exists: it is offered";
    EXPECT_EQ(
        fitCheck.report()->summary + " " + fitCheck.report()->clickHint,
        "The solve stopped at \"Floating point overflow\"; the exact fit exists. Click for it.");
    ASSERT_NE(fitCheck.fit(), nullptr);
    fitCheck.fit()->writeExactValues(coefficients);
    fitCheck.follow(points, coefficients);
    EXPECT_EQ(fitCheck.report()->verdict, Verdict::agrees);

    points.setCell(1, 2, "four");
    fitCheck.start(points, coefficients, "'four' is not a valid floating point value",
                   FitKind::throughPoints());
    EXPECT_EQ(fitCheck.report(), nullptr)
        << "no exact fit to offer: the solver's error says it all";
}

// Undo gives back the check as it stood, whatever the grids say since.
TEST_F(FitCheckTest, ASnapshotGivesBackTheCheckAsItStood) {
    solve({{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}});
    FitCheck fitCheck;
    fitCheck.start(points, coefficients, "", FitKind::throughPoints());
    const LastSolve agreed = fitCheck.kept();
    const CellTable agreedCoefficients = coefficients;
    coefficients.setCell(1, 1, "2.5");
    fitCheck.follow(points, coefficients);
    ASSERT_EQ(fitCheck.report()->verdict, Verdict::off);
    fitCheck.restore(agreed, agreedCoefficients);
    EXPECT_EQ(fitCheck.report(), agreed.report.get()) << "the same report, not a new one";
    coefficients.setCell(1, 1, "2");
    EXPECT_FALSE(fitCheck.follow(points, coefficients)) << "the values it compared";
    fitCheck.stop();
    EXPECT_EQ(fitCheck.report(), nullptr);
    fitCheck.restore(agreed, agreedCoefficients);
    EXPECT_EQ(fitCheck.report()->verdict, Verdict::agrees);
}

// A least-squares report of many points is not kept by undo, but made again
// from the fit when its state comes back.
TEST_F(FitCheckTest, AReportOfManyPointsIsMadeAgainOnRestore) {
    Grid rows;
    for (int k = 0; k < int(FitCheck::kKeptReportPoints) + 1; ++k)
        rows.push_back({std::to_string(k), std::to_string(k % 5)});
    solveLeastSquares(rows, 1);
    FitCheck fitCheck;
    fitCheck.start(points, coefficients, "", FitKind::leastSquares());
    const FitReport before = *fitCheck.report();
    const LastSolve kept = fitCheck.kept();
    EXPECT_EQ(kept.report, nullptr);
    fitCheck.stop();
    fitCheck.restore(kept, coefficients);
    ASSERT_NE(fitCheck.report(), nullptr);
    EXPECT_EQ(fitCheck.report()->summary, before.summary);
    EXPECT_EQ(fitCheck.report()->points.size(), before.points.size());
    EXPECT_EQ(fitCheck.report()->statistics->shownR2, before.statistics->shownR2);
}

} // namespace
