#include "toolkit/cell_block.h"
#include "toolkit/conversions.h"
#include "toolkit/message_text.h"

#include <gtest/gtest.h>

namespace {

struct BlockCase {
    const char* text;
    CellBlock block;
    bool decimalCommas = false;
};

class ParseCellBlock : public ::testing::TestWithParam<BlockCase> {};

TEST_P(ParseCellBlock, ReadsTheClipboardShapes) {
    const ReadBlock read = parseCellBlock(GetParam().text);
    EXPECT_EQ(read.cells, GetParam().block);
    EXPECT_EQ(read.decimalCommas, GetParam().decimalCommas);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ParseCellBlock,
    ::testing::Values(BlockCase{"1\t4\n2\t8\n", {{"1", "4"}, {"2", "8"}}},     // a spreadsheet
                      BlockCase{"1\t4\r\n2\t8\r\n", {{"1", "4"}, {"2", "8"}}}, // ... on Windows
                      BlockCase{" 1 \t\t4", {{" 1 ", "", "4"}}},               // tabs keep the text
                      BlockCase{"1, 4\n2,8", {{"1", "4"}, {"2", "8"}}},        // CSV
                      BlockCase{"  1   4 \n2 8", {{"1", "4"}, {"2", "8"}}},    // a text editor
                      BlockCase{"1\n2\n3", {{"1"}, {"2"}, {"3"}}},             // one column
                      BlockCase{"1\n\n3\n", {{"1"}, {""}, {"3"}}},             // a blank row
                      BlockCase{"", {}}, BlockCase{"\n", {}}));

// What spreadsheets copy: quoted cells, a tab at the end, decimal commas and
// a header row.
INSTANTIATE_TEST_SUITE_P(
    Spreadsheets, ParseCellBlock,
    ::testing::Values(BlockCase{"\"7\t8\"\t2", {{"7\t8", "2"}}},
                      BlockCase{"\"say \"\"hi\"\"\"\t1", {{"say \"hi\"", "1"}}},
                      BlockCase{"\"open\t1", {{"\"open", "1"}}}, // no closing quote: as it stands
                      BlockCase{"1\t2\t\n3\t4\t", {{"1", "2"}, {"3", "4"}}},
                      BlockCase{"1,5\t2,25\n-2,25E3\t3", {{"1.5", "2.25"}, {"-2.25E3", "3"}}, true},
                      BlockCase{"1,5;4\n2;8", {{"1.5", "4"}, {"2", "8"}}, true},
                      BlockCase{"1,2,3\t4", {{"1,2,3", "4"}}},         // no number with commas
                      BlockCase{"1,5\n2,5", {{"1", "5"}, {"2", "5"}}}, // ambiguous: as it was
                      BlockCase{"x\tf(x)\n1\t4", {{"1", "4"}}},
                      BlockCase{"x;y\n1,5;4", {{"1.5", "4"}}, true},
                      BlockCase{"x\tf(x)", {{"x", "f(x)"}}},     // no rows below: a paste of text
                      BlockCase{"a\nb", {{"a"}, {"b"}}},         // no numbers at all
                      BlockCase{"\t\n1\t4", {{""}, {"1", "4"}}}, // a blank first row stays
                      BlockCase{"1.500\t0,5\n1.050.000\t1,5",
                                {{"1500", "0.5"}, {"1050000", "1.5"}},
                                true}, // thousands dots beside decimal commas
                      BlockCase{"1.500\t2", {{"1.500", "2"}}})); // and no comma: a decimal point

TEST(ParseCellBlock, RefusesADecimalPointBesideDecimalCommas) {
    try {
        parseCellBlock("1,5\t2\n2.5\t3");
        ADD_FAILURE() << "no error";
    } catch (const std::exception& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Line 2, cell 1: " + quotedText("2.5") +
                      " writes a decimal point, where other numbers here write decimal commas; "
                      "write them all one way.");
    }
}

TEST(CellBlockText, IsTabSeparatedLinesThatReadBackAsTheyWere) {
    EXPECT_EQ(cellBlockText({{"4", "1"}, {"", "2"}}), "4\t1\n\t2\n");
    EXPECT_EQ(cellBlockText({{"7\t8", "\"q"}}), "\"7\t8\"\t\"\"\"q\"\n");
    for (const CellBlock& block : {CellBlock{{"a b", "c"}}, CellBlock{{"7\t8", "\"q\"", "2"}}})
        EXPECT_EQ(parseCellBlock(cellBlockText(block)).cells, block);
}

} // namespace
