#include "support/cells.h"

#include <gtest/gtest.h>

namespace {

TEST(CellTable, CellsNeverWrittenReadEmptyAndOutsideCellsAreIgnored) {
    CellTable cells(3, 2);
    EXPECT_EQ(cells.colCount(), 3);
    EXPECT_EQ(cells.rowCount(), 2);
    EXPECT_EQ(cells.cell(2, 1), "");
    cells.setCell(2, 1, "z");
    cells.setCell(3, 1, "outside");
    cells.setCell(0, 2, "outside");
    EXPECT_EQ(cells.cell(2, 1), "z");
    EXPECT_EQ(cells.cell(3, 1), "");
    EXPECT_EQ(cells.cell(-1, 0), "");
}

TEST(CellTable, ResizingKeepsTheCellsThatRemainAndDropsTheRest) {
    CellTable cells(3, 4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            cells.setCell(c, r, std::to_string(c) + "," + std::to_string(r));
    cells.setRowCount(3);
    cells.setColCount(2);
    EXPECT_EQ(rowTexts(cells, 2), (Texts{"0,2", "1,2"}));
    cells.setRowCount(4);
    cells.setColCount(4);
    EXPECT_EQ(rowTexts(cells, 0), (Texts{"0,0", "1,0", "", ""}));
    EXPECT_EQ(rowTexts(cells, 3), (Texts{"", "", "", ""}));
    cells.clearRow(1);
    EXPECT_EQ(rowTexts(cells, 1), (Texts{"", "", "", ""}));
}

TEST(CellTable, TablesAreEqualWhenSizesAndTextsAre) {
    CellTable a(2, 2), b(2, 2);
    a.setCell(1, 1, "x");
    EXPECT_NE(a, b);
    b.setCell(1, 1, "x");
    EXPECT_EQ(a, b);
    b.setRowCount(3);
    EXPECT_NE(a, b);
}

} // namespace
