#include "plot/samples.h"

#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

namespace {

struct Range {
    double min, max, step;
};

// The message sampleXs raises, or "" when it raises none.
std::string failure(Range range) {
    try {
        sampleXs(range.min, range.max, range.step);
    } catch (const Exception& error) {
        return error.what();
    }
    return "";
}

TEST(Samples, AddStepAgainAndAgainFromMin) {
    EXPECT_EQ(sampleXs(0, 1000, 100).size(), 11u);
    EXPECT_EQ(sampleXs(5, 5, 1), std::vector<double>{5});
    EXPECT_EQ(sampleXs(5, 4, 1), std::vector<double>{});
    EXPECT_EQ(sampleXs(10, 0, 0), std::vector<double>{})
        << "nothing to sample, so any step will do";
    const std::vector<double> wide = sampleXs(-1e308, 1e308, 1e305);
    EXPECT_EQ(wide.size(), 2001u);
    EXPECT_NEAR(wide.back(), 1e308, 1e294) << "no overflow on the way";
    EXPECT_EQ(sampleXs(0, 0.99999, 1e-5).size(), 100000u) << "exactly as many as may be drawn";
}

// x moves on by repeated addition, so its rounding adds up; an x past Max
// by less than a thousandth of Step is taken, one truly past it is not.
class SamplesEndAt : public ::testing::TestWithParam<std::pair<Range, double>> {};

TEST_P(SamplesEndAt, MaxWhenOnlyRoundingPassesIt) {
    const auto [range, last] = GetParam();
    EXPECT_EQ(sampleXs(range.min, range.max, range.step).back(), last);
}

INSTANTIATE_TEST_SUITE_P(Ranges, SamplesEndAt,
                         ::testing::Values(std::pair{Range{0, 0.3, 0.1}, 0.1 + 0.1 + 0.1},
                                           std::pair{Range{0, 7, 0.7}, 7.000000000000001},
                                           std::pair{Range{0, 0.35, 0.1}, 0.1 + 0.1 + 0.1}));

TEST(Samples, AMaxNearTheLargestDoubleStillEnds) {
    const std::vector<double> xs = sampleXs(1e308, DBL_MAX, 1e307);
    EXPECT_EQ(xs.size(), 8u);
    EXPECT_LE(xs.back(), DBL_MAX);
}

class SamplesRefuse : public ::testing::TestWithParam<std::pair<Range, const char*>> {};

TEST_P(SamplesRefuse, ARangeThatWouldNotEndOrWouldFreezeTheWindow) {
    EXPECT_EQ(failure(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, SamplesRefuse,
    ::testing::Values(
        std::pair{Range{0, 10, 0}, "Step must be greater than 0"},
        std::pair{Range{0, 10, -1}, "Step must be greater than 0"},
        std::pair{Range{0, 10, NAN}, "Step must be greater than 0"},
        std::pair{Range{0, 2, 1e-5},
                  "Too many samples: the range needs 200001; at most 100000 can be drawn"},
        std::pair{Range{0, 1, 1e-5},
                  "Too many samples: the range needs 100001; at most 100000 can be drawn"},
        std::pair{Range{-1e308, 1e308, 1e300},
                  "Too many samples: the range needs 200000001; at most 100000 can be drawn"},
        std::pair{Range{1e17, 1e17 + 1000, 1}, "Step 1 is too small to move x on from 1E17"}));

} // namespace
