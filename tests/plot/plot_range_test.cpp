#include "plot/plot_range.h"

#include "support/cells.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

namespace {

struct RangeCase {
    Texts xs;
    Texts proposed; // Min, Max, Step
};

class RangeProposal : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeProposal, TakesTheSmallestAndLargestXAndATenthOfTheirDistance) {
    Grid rows;
    for (const std::string& x : GetParam().xs)
        rows.push_back({x, "1"});
    const auto range = proposeRange(tableOf(2, rows));
    ASSERT_TRUE(range);
    EXPECT_EQ((Texts{range->min, range->max, range->step}), GetParam().proposed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RangeProposal,
    ::testing::Values(RangeCase{{"1", "2", "3", "4"}, {"1", "4", "0.3"}},
                      RangeCase{{"-2", "5", "0.5"}, {"-2", "5", "0.7"}},
                      RangeCase{{"0.5", "", "5", "-2"}, {"-2", "5", "0.7"}},
                      RangeCase{{"5", "0.5", "-2"}, {"-2", "5", "0.7"}},
                      RangeCase{{"", "  ", " 3 ", "\t"}, {"3", "3", "0"}},
                      RangeCase{{"2", "2", "2"}, {"2", "2", "0"}},
                      RangeCase{{"5.7", "6.6"}, {"5.7", "6.6", "0.0899999999999999"}},
                      RangeCase{{"-905228.053408129", "279992.714558556"},
                                {"-905228.053408129", "279992.714558556", "118522.076796668"}}));

TEST(RangeProposal, CountsRowsByTheirXCellOnly) {
    EXPECT_EQ(proposeRange(tableOf(2, {{"", "4"}, {" ", "8"}})), std::nullopt);
    EXPECT_EQ(proposeRange(tableOf(2, {})), std::nullopt);
    const auto range = proposeRange(tableOf(2, {{"1", ""}, {"3", "20"}, {" ", "46"}}));
    ASSERT_TRUE(range);
    EXPECT_EQ(range->max, "3");
}

TEST(RangeProposal, NamesTheCellThatIsNotANumber) {
    try {
        proposeRange(tableOf(2, {{"1", "4"}, {"four", "46"}}));
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(),
                     "Points, row 2, x: '\u2068four\u2069' is not a valid floating point value");
    }
}

} // namespace
