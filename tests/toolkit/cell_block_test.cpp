#include "toolkit/cell_block.h"

#include <gtest/gtest.h>

namespace {

struct BlockCase {
    const char* text;
    CellBlock block;
};

class ParseCellBlock : public ::testing::TestWithParam<BlockCase> {};

TEST_P(ParseCellBlock, ReadsTheClipboardShapes) {
    EXPECT_EQ(parseCellBlock(GetParam().text), GetParam().block);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ParseCellBlock,
    ::testing::Values(BlockCase{"1\t4\n2\t8\n", {{"1", "4"}, {"2", "8"}}},     // a spreadsheet
                      BlockCase{"1\t4\r\n2\t8\r\n", {{"1", "4"}, {"2", "8"}}}, // ... on Windows
                      BlockCase{" 1 \t\t4", {{" 1 ", "", "4"}}},               // tabs keep the text
                      BlockCase{"1, 4\n2,8", {{"1", "4"}, {"2", "8"}}},        // CSV
                      BlockCase{"1,5;4\n2;8", {{"1,5", "4"}, {"2", "8"}}},     // decimal commas
                      BlockCase{"  1   4 \n2 8", {{"1", "4"}, {"2", "8"}}},    // a text editor
                      BlockCase{"1\n2\n3", {{"1"}, {"2"}, {"3"}}},             // one column
                      BlockCase{"1\n\n3\n", {{"1"}, {""}, {"3"}}},             // a blank row
                      BlockCase{"", {}}, BlockCase{"\n", {}}));

TEST(CellBlockText, IsTabSeparatedLines) {
    EXPECT_EQ(cellBlockText({{"4", "1"}, {"", "2"}}), "4\t1\n\t2\n");
    EXPECT_EQ(parseCellBlock(cellBlockText({{"a b", "c"}})), (CellBlock{{"a b", "c"}}));
}

} // namespace
