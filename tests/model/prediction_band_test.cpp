#include "model/prediction_band.h"

#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The line y = 1/6 + x/2 fitted to (0, 0), (1, 1), (2, 1): s² = 1/6 with one
// degree of freedom; in t = x - 1 the normal matrix is diag(3, 2).
BandBasis lineBasis() {
    return {std::sqrt(1.0 / 6), 1, 1, 1, {1.0 / 3, 0, 0, 0.5}};
}

TEST(PredictionBand, TheQuantilesAreStudentsT) {
    EXPECT_NEAR(tQuantile(1, 0.95), 12.7062047361747, 1e-12);
    EXPECT_NEAR(tQuantile(10, 0.95), 2.22813885198627, 1e-12);
    EXPECT_NEAR(tQuantile(1000000, 0.95), 1.95996, 1e-5);
    EXPECT_NEAR(tQuantile(10, 0.99), 3.16927267261695, 1e-12);
}

TEST(PredictionBand, HalfWidthsFollowTheVarianceOfTheFittedValue) {
    const BandBasis basis = lineBasis();
    // At x = 1 the fitted value's variance is s²/3; at x = 3, s² (1/3 + 4/2).
    const HalfWidths middle = halfWidths(basis, 1, 2);
    EXPECT_NEAR(middle.confidence, 2 * std::sqrt(1.0 / 18), 1e-15);
    EXPECT_NEAR(middle.prediction, 2 * std::sqrt(1.0 / 6 * (1 + 1.0 / 3)), 1e-15);
    EXPECT_NEAR(halfWidths(basis, 3, 1).confidence, std::sqrt(1.0 / 6 * (1.0 / 3 + 2)), 1e-15);
}

} // namespace

namespace {

TEST(PredictionBand, ALevelLiesStrictlyBetween0And1) {
    EXPECT_EQ(bandLevel(" 0.99 "), 0.99);
    EXPECT_EQ(bandLevel("5E-1"), 0.5);
    for (const char* refused : {"0", "1", "-0.5", "95"})
        EXPECT_THROW(bandLevel(refused), EMathError) << refused;
    EXPECT_THROW(bandLevel("95 %"), EConvertError);
}

} // namespace
