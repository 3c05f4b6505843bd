#include "model/template_paste.h"

#include "support/cells.h"
#include "toolkit/errors.h"
#include "toolkit/text_limits.h"

#include <gtest/gtest.h>

namespace {

// The message of the refusal, or "" when the block fits.
std::string refusal(int col, int row, const CellBlock& block,
                    const std::string& source = "clipboard") {
    const CellTable points(2, 5); // four points
    try {
        checkTemplatePaste(points, col, row, block, "points", source);
    } catch (const Exception& error) {
        return error.what();
    }
    return "";
}

TEST(TemplatePaste, ABlockFitsUpToTheLastRowAndColumn) {
    EXPECT_EQ(refusal(0, 1, CellBlock(4, {"1", "2"})), "");
    EXPECT_EQ(refusal(1, 4, CellBlock(1, {"1"})), "");
    EXPECT_EQ(refusal(0, 2, CellBlock(4, {"1", "2"})),
              "The clipboard holds 4 rows, but only 3 fit from the current row down: the table "
              "holds 4 points. Degree 4 would hold them all.");
    EXPECT_EQ(refusal(1, 1, CellBlock(1, {"1", "2"})),
              "The clipboard holds 2 columns, but only 1 fit from the current column right.");
    EXPECT_EQ(refusal(1, 1, CellBlock(1, {"1", "2"}), "drop"),
              "The drop holds 2 columns, but only 1 fit from the current column right.");
}

// Rows of a block may differ in length: the longest decides the fit.
TEST(TemplatePaste, ARaggedBlockFitsByItsLongestRow) {
    EXPECT_EQ(refusal(1, 1, CellBlock{{"1"}, {"2"}, {"3"}}), "");
    EXPECT_EQ(refusal(1, 1, CellBlock{{"1"}, {"2", "9"}, {"3"}}),
              "The clipboard holds 2 columns, but only 1 fit from the current column right.");
    EXPECT_EQ(refusal(0, 1, CellBlock{{"1", "2"}, {"3"}, {}, {"4", "5"}}), "");
}

TEST(TemplatePaste, SaysWhenNotEvenTheLargestDegreeHoldsTheBlock) {
    EXPECT_EQ(refusal(0, 1, CellBlock(192, {"1"})),
              "The clipboard holds 192 rows, but only 4 fit from the current row down: the "
              "table holds 4 points. Not even the largest degree, 190, would hold them all.");
}

TEST(TemplatePaste, RefusesACellLongerThanACellHolds) {
    EXPECT_EQ(refusal(0, 1, CellBlock(1, {std::string(kMaxTextLength + 1, '1')})),
              "The text is too long: a cell holds at most 32768 characters.");
    EXPECT_EQ(refusal(0, 1, CellBlock(1, {std::string(kMaxTextLength, '1')})), "");
}

} // namespace
