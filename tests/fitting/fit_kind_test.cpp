#include "fitting/fit_kind.h"

#include "exact/exact_system.h"
#include "fitting/fit_report.h"
#include "fitting/point_table.h"
#include "support/cells.h"
#include "support/solved_grids.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

namespace {

// Generate sizes the point table through the points: the points stay in the
// rows that remain, and a degree that was no integer leaves it.
TEST(FitKind, ThroughThePointsTheTableHasARowPerCoefficient) {
    CellTable points = tableOf(2, {{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}});
    FitKind::throughPoints().sizeTable(points, 2);
    EXPECT_EQ(columnTexts(points, 0), (Texts{"1", "2", "3"}));
    FitKind::throughPoints().sizeTable(points, 4);
    EXPECT_EQ(columnTexts(points, 0), (Texts{"1", "2", "3", "", ""}));
    FitKind::throughPoints().sizeTable(points, -1);
    EXPECT_EQ(points.rowCount(), 6);
}

TEST(FitKind, AFileOpensInLeastSquaresOnlyWhenThroughThePointsCannotTakeIt) {
    const FitKind& through = FitKind::throughPoints();
    const FitKind& leastSquares = FitKind::leastSquares();
    EXPECT_EQ(&FitKind::toOpen(through, 191), &through);
    EXPECT_EQ(&FitKind::toOpen(through, 192), &leastSquares);
    EXPECT_EQ(&FitKind::toOpen(leastSquares, 3), &leastSquares);
}

TEST(FitKind, OpenPutsThePointsIntoEachKindsTable) {
    const std::vector<PointFields> file{{"5", "6", ""}, {"7", "8", ""}};
    CellTable through = tableOf(2, {{"1", "2"}, {"3", "4"}});
    FitKind::throughPoints().putPoints(through, file);
    EXPECT_EQ(dataRows(through), (Grid{{"5", "6"}, {"7", "8"}}));
    CellTable leastSquares = tableOf(2, {{"1", "2"}, {"3", "4"}, {"5", "6"}, {"7", "8"}});
    FitKind::leastSquares().putPoints(leastSquares, file);
    EXPECT_EQ(dataRows(leastSquares), (Grid{{"5", "6"}, {"7", "8"}, {"", ""}}));
}

TEST(FitKind, EachKindKeepsItsOwnTableSizeAndALeastSquaresPasteGrowsIt) {
    CellTable points = tableOf(2, {{"1", "2"}, {"3", "4"}, {"5", "6"}, {"7", "8"}, {"9", "0"}});
    FitKind::leastSquares().sizeTable(points, 2);
    EXPECT_EQ(points.rowCount(), 7) << "every row, and a blank one";
    const CellTable before = points;
    FitKind::throughPoints().sizeTable(points, 2);
    EXPECT_EQ(points.rowCount(), 4);
    EXPECT_EQ(droppedPoints(filledRows(before), points.rowCount()), 2);

    FitKind::throughPoints().makeRoomForPaste(points, 2, 10, "clipboard");
    EXPECT_EQ(points.rowCount(), 4) << "through the points a paste takes the rows there are";
    FitKind::leastSquares().makeRoomForPaste(points, 2, 10, "clipboard");
    EXPECT_EQ(points.rowCount(), 12);
    EXPECT_THROW(
        FitKind::leastSquares().makeRoomForPaste(points, 3, size_t(kMaxLeastSquaresPoints), "drop"),
        Exception);
}

// Through the origin: A held at 0, as NIST's NoInt2 certifies it.
TEST(FitKind, AHeldCoefficientKeepsItsRowInTheGridAndItsValue) {
    const FitKind& origin = FitKind::leastSquares({.held = {{0, "0"}}});
    EXPECT_EQ(&FitKind::leastSquares({.held = {{0, "0"}}}), &origin)
        << "one kind for each held set";
    EXPECT_NE(&origin, &FitKind::leastSquares());
    EXPECT_STREQ(origin.label(), "Fit: least squares, A held (Ctrl+L)");
    SolvedGrids grids;
    SolveSteps steps;
    grids.solveLeastSquares({{"4", "3"}, {"5", "4"}, {"6", "4"}}, 1, &steps, origin);
    EXPECT_EQ(dataRows(grids.answers), (Grid{{"0", "1", "0"}, {"0.727272727272727", "0", "1"}}))
        << "reduced: the held row, then B's own equation 77 B = 56 over its pivot";
    EXPECT_EQ(columnTexts(grids.coefficients, 1), (Texts{"0", "0.727272748947144"}));
    const FitReport check = reportOn(origin.exactFit(grids.points, 1).compare(grids.coefficients));
    EXPECT_EQ(check.verdict, FitComparison::Verdict::agrees);
    ASSERT_TRUE(check.statistics);
    EXPECT_EQ(check.statistics->degreesOfFreedom, 2);
    EXPECT_EQ(check.statistics->exactR2, "0.993348115299335") << "uncentred";
    EXPECT_EQ(fitNumbersText(*check.statistics).find("worked out"), std::string::npos)
        << "A's \"-\" is its being held, not the degree";
    EXPECT_EQ(origin.reportLine(3, &check).substr(0, 31), "Least squares, A held at 0: 3 p");
    std::string unavailable;
    ExactSystem system = origin.exactSystem(steps, 2, unavailable);
    ASSERT_EQ(system.equations(), 2);
    EXPECT_EQ(system.agreement(0, 0, 0).exact, "0");
    EXPECT_EQ(system.agreement(1, 0, 1).exact, "1");
}

TEST(FitKind, HoldingTakesANumberAndLeavesOneCoefficientFree) {
    const CellTable coefficients = tableOf(2, {{"A", "0"}, {"B", "2.5"}, {"C", "x"}});
    const FitKind& a = holding(FitKind::leastSquares(), coefficients, 0);
    EXPECT_EQ(a.options().held, (HeldValues{{0, "0"}}));
    const FitKind& ab = holding(a, coefficients, 1);
    EXPECT_STREQ(ab.label(), "Fit: least squares, A and B held (Ctrl+L)");
    EXPECT_EQ(&releasing(ab, 1), &a);
    EXPECT_EQ(&releasing(a, 0), &FitKind::leastSquares());
    EXPECT_THROW(holding(a, coefficients, 2), EConvertError) << "x is no number";
    EXPECT_THROW(holding(FitKind::throughPoints(), coefficients, 0), Exception);
    EXPECT_EQ(&releasing(FitKind::throughPoints(), 0), &FitKind::throughPoints());
    const CellTable two = tableOf(2, {{"A", "0"}, {"B", "1E39"}});
    EXPECT_THROW(holding(FitKind::leastSquares(), two, 1), EConvertError) << "beyond single";
    EXPECT_THROW(holding(a, tableOf(2, {{"A", "0"}, {"B", "1"}}), 1), Exception)
        << "the last free coefficient";
}

} // namespace
