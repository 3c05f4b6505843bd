#include "fitting/fit_kind.h"

#include "fitting/point_table.h"
#include "support/cells.h"
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
    const std::vector<std::array<std::string, 2>> file{{"5", "6"}, {"7", "8"}};
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

} // namespace
