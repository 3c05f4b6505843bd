#include "fitting/point_table.h"

#include "support/cells.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

namespace {

// The point table as the window starts: the four default points, none counted.
class PointTable : public ::testing::Test {
  protected:
    std::optional<int> add(const char* x, const char* fx) {
        return addPoint(points, row, x, fx, pointCount);
    }
    Texts xs() const { return columnTexts(points, 0); }

    CellTable points = tableOf(2, {{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}});
    int row = 1;
    int pointCount = 0;
};

// The full-table guard and the counter.

TEST_F(PointTable, AtStartEveryRowIsFilledSoAddWritesNothing) {
    for (row = 1; row <= 4; ++row)
        EXPECT_EQ(add("9", "9"), std::nullopt);
    EXPECT_EQ(xs(), (Texts{"1", "2", "3", "4"}));
    EXPECT_EQ(pointCount, 0);
}

TEST_F(PointTable, DelOnADefaultPointEmptiesItAndCountsBelowZero) {
    deletePoint(points, 2, pointCount);
    EXPECT_EQ(dataRows(points), (Grid{{"1", "4"}, {"", ""}, {"3", "20"}, {"4", "46"}}));
    EXPECT_EQ(pointCount, -1);
}

TEST_F(PointTable, AfterClearAddsFillFromTheCurrentRowWrapToRowOneAndStopWhenFull) {
    pointCount = 7;
    clearPoints(points, pointCount);
    EXPECT_EQ(pointCount, 0);
    row = 3;
    for (const char* x : {"a", "b", "c", "d"})
        row = add(x, "1").value_or(-1);
    EXPECT_EQ(xs(), (Texts{"c", "d", "a", "b"}));
    EXPECT_EQ(row, 3);
    EXPECT_EQ(pointCount, 4);
    points.clearRow(2); // a blank row again
    row = 2;
    EXPECT_EQ(add("e", "5"), std::nullopt) << "a full table refuses the point";
    EXPECT_EQ(points.cell(0, 2), "");
    EXPECT_EQ(pointCount, 4);
}

TEST_F(PointTable, AddWithEmptyBoxesCountsABlankRowUntilTheTableIsFull) {
    clearPoints(points, pointCount);
    for (int i = 0; i < 4; ++i)
        add("", "");
    EXPECT_EQ(pointCount, 4);
    add("1", "1");
    EXPECT_EQ(xs(), (Texts{"", "", "", ""}));
    deletePoint(points, row, pointCount);
    EXPECT_EQ(pointCount, 4) << "Del finds only blank rows";
}

TEST_F(PointTable, ACountThatDriftedFromTheCellsStillGuardsAdd) {
    clearPoints(points, pointCount);
    pointCount = 3; // three points added, then Generate cut the table to two rows
    points.setRowCount(3);
    EXPECT_EQ(add("9", "9"), std::nullopt);
    EXPECT_EQ(xs(), (Texts{"", ""}));
}

// Blank and filled rows.

TEST_F(PointTable, AHalfFilledRowIsFilled) {
    clearPoints(points, pointCount);
    points.setCell(1, 1, "7");
    EXPECT_EQ(add("1", "2"), std::nullopt);
    EXPECT_EQ(rowTexts(points, 1), (Texts{"", "7"}));
    EXPECT_EQ(pointCount, 0);
    deletePoint(points, 1, pointCount);
    EXPECT_EQ(rowTexts(points, 1), (Texts{"", ""}));
    EXPECT_EQ(pointCount, -1);
}

TEST_F(PointTable, ARowOfSpacesIsBlankAndKeepsItsSpaces) {
    clearPoints(points, pointCount);
    points.setCell(0, 1, "  ");
    points.setCell(1, 1, "\t");
    deletePoint(points, 1, pointCount);
    EXPECT_EQ(rowTexts(points, 1), (Texts{"  ", "\t"}));
    EXPECT_EQ(pointCount, 0);
    EXPECT_EQ(add(" 1.5 ", "x"), 2);
    EXPECT_EQ(rowTexts(points, 1), (Texts{" 1.5 ", "x"})) << "written verbatim";
    EXPECT_EQ(pointCount, 1);
}

TEST_F(PointTable, AddIntoTheLastRowWrapsToRowOne) {
    deletePoint(points, 4, pointCount);
    row = 4;
    EXPECT_EQ(add("5", "92"), 1);
    EXPECT_EQ(rowTexts(points, 4), (Texts{"5", "92"}));
}

TEST_F(PointTable, ClearKeepsTheHeader) {
    points.setCell(0, 0, "x");
    points.setCell(1, 0, "f(x)");
    clearPoints(points, pointCount);
    EXPECT_EQ(xs(), (Texts{"", "", "", ""}));
    EXPECT_EQ(rowTexts(points, 0), (Texts{"x", "f(x)"}));
}

} // namespace

namespace {

TEST(LeastSquaresTable, AddAtTheLastRowAppendsOneAndIsFullOnlyAtTheLimit) {
    CellTable points = tableOf(2, {{"1", "2"}, {"", ""}});
    int pointCount = 50;
    EXPECT_EQ(addPoint(points, 2, "3", "4", pointCount, FitKind::leastSquares()), 3)
        << "a pointCount far past the rows still adds";
    EXPECT_EQ(points.rowCount(), 4);
    EXPECT_EQ(dataRows(points), (Grid{{"1", "2"}, {"3", "4"}, {"", ""}}));
    EXPECT_EQ(pointCount, 51);
    pointCount = kMaxLeastSquaresPoints;
    EXPECT_FALSE(addPoint(points, 3, "5", "6", pointCount, FitKind::leastSquares()));
}

} // namespace
