#include "exact/precision_ladder.h"

#include <gtest/gtest.h>

namespace {

// Coefficients that read `value` from `from` bits of precision on, and stray
// below that by more than the ladder lets pass.
std::function<Floats(mp_bitcnt_t)> settlingAt(mp_bitcnt_t from, const std::vector<double>& values) {
    return [=](mp_bitcnt_t bits) {
        Floats coefficients;
        for (const double value : values)
            coefficients.emplace_back(bits >= from ? value : value + double(bits) / 1000, bits);
        return coefficients;
    };
}

TEST(PrecisionLadder, ClimbsToItsLargestPrecisionAndNoFurther) {
    const auto settled = settledCoefficients(settlingAt(kMaxPrecision, {1, -2.5}), {false, false});
    ASSERT_TRUE(settled) << "the last rung counts";
    EXPECT_EQ(settled->at(0).value(), 1);
    EXPECT_EQ(settled->at(1).value(), mpq_class(-5, 2));
    EXPECT_FALSE(settledCoefficients(settlingAt(2 * kMaxPrecision, {1}), {false}))
        << "beyond the largest precision it gives up";
}

TEST(PrecisionLadder, EachCoefficientSettlesOnItsOwnAndExactZerosWaitForNothing) {
    // 1E-60 beside 1E60 settles to digits of its own; a zero that only noise
    // would ever reach is 0 from the start.
    const auto settled = settledCoefficients(
        [](mp_bitcnt_t bits) {
            Floats values{mpf_class("1e60", bits), mpf_class("1e-60", bits), mpf_class(0, bits)};
            values[2] = mpf_class(1, bits) / mpf_class(mpf_class(2, bits) * double(bits), bits);
            return values;
        },
        {false, false, true});
    ASSERT_TRUE(settled);
    EXPECT_EQ(roundedText(settled->at(1)), "1E-60");
    EXPECT_EQ(settled->at(2).value(), 0);
}

} // namespace
