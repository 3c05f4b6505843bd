#include "plot/axis_ticks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Labels = std::vector<std::string>;

Labels labels(double min, double max) {
    Labels texts;
    for (const AxisTick& tick : niceTicks(min, max))
        texts.push_back(tick.label);
    return texts;
}

struct Range {
    double min, max;
    Labels expected;
};

class NiceTickLabels : public ::testing::TestWithParam<Range> {};

TEST_P(NiceTickLabels, FallOnRoundValuesWrittenShort) {
    EXPECT_EQ(labels(GetParam().min, GetParam().max), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, NiceTickLabels,
    ::testing::Values(Range{0.6, 52.7, {"20", "40"}}, Range{-3.6, 60.9, {"0", "20", "40", "60"}},
                      Range{-1e-9, 1e-9, {"-1E-9", "-5E-10", "0", "5E-10", "1E-9"}},
                      Range{1e15, 1.2e15, {"1E15", "1.05E15", "1.1E15", "1.15E15", "1.2E15"}},
                      Range{0, 0.3, {"0", "0.1", "0.2", "0.3"}}, Range{5, 5, {}}));

} // namespace
