#include "toolkit/packed_table.h"

#include "support/cells.h"

#include <gtest/gtest.h>

namespace {

TEST(PackedTable, UnpacksToTheSameTable) {
    CellTable table =
        tableOf(3, {{"1", "", "x"}, {"", "", ""}, {"-1.5E-7", std::string("a\0b", 3), "\xc3\xa9"}});
    table.setCell(1, 0, "header");
    const PackedTable packed(table);
    EXPECT_EQ(packed.unpack(), table);
    EXPECT_EQ(PackedTable(CellTable(0, 0)).unpack(), CellTable(0, 0));
    EXPECT_EQ(PackedTable(CellTable(2, 3)).unpack(), CellTable(2, 3))
        << "empty cells keep the size";
}

TEST(PackedTable, EqualTablesPackEqually) {
    CellTable table = tableOf(2, {{"1", "4"}});
    const PackedTable before(table);
    EXPECT_EQ(PackedTable(table), before);
    table.setCell(1, 1, "5");
    EXPECT_NE(PackedTable(table), before);
    EXPECT_NE(PackedTable(tableOf(2, {{"14", ""}})), PackedTable(tableOf(2, {{"1", "4"}})))
        << "the cell boundaries count";
}

TEST(PackedTable, ReadsACellAndTellsATableItHoldsWithoutUnpacking) {
    const CellTable table = tableOf(2, {{"1", "4"}, {"", "-2.5"}});
    const PackedTable packed(table);
    EXPECT_EQ(packed.cell(1, 2), "-2.5");
    EXPECT_EQ(packed.cell(0, 2), "");
    EXPECT_EQ(packed.cell(5, 1), "") << "outside, as a cell table reads";
    EXPECT_TRUE(packed.holds(table));
    EXPECT_FALSE(packed.holds(tableOf(2, {{"1", "4"}, {"", "-2.50"}})));
    EXPECT_FALSE(packed.holds(tableOf(2, {{"14", ""}, {"", "-2.5"}})))
        << "the cell boundaries count";
    EXPECT_FALSE(packed.holds(tableOf(2, {{"1", "4"}}))) << "nor does a smaller table";
}

} // namespace
