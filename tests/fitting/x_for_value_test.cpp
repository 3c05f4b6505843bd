#include "fitting/x_for_value.h"

#include "model/evaluation.h"
#include "support/cells.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

CellTable coefficients(const Texts& values) {
    Grid rows;
    for (size_t k = 0; k < values.size(); ++k)
        rows.push_back({std::string(1, char('A' + k)), values[k]});
    return tableOf(2, rows);
}

// A least-squares parabola as the window shows it.
const Texts kParabola = {"2.53322315216064", "1.3720817565918", "0.257951408624649"};

TEST(XForValue, EachXPutBackThroughFxGivesTheValueTo15Digits) {
    const CellTable grid = coefficients(kParabola);
    for (const char* y : {"50", "121.723235040903", "3.0001", "0.75", "7777.5"}) {
        const auto answer = xForValue(grid, 2, y, "-1000", "1000", nullptr);
        ASSERT_TRUE(answer);
        ASSERT_EQ(answer->roots.size(), 2u) << y;
        for (const XForValue::Root& root : answer->roots) {
            const double back = StrToFloat(*evaluateAtX(grid, 2, root.x));
            EXPECT_NEAR(back, StrToFloat(y), 1e-14 * std::abs(StrToFloat(y))) << y << " " << root.x;
        }
    }
}

// The line 1/6 + x/2 fitted to (0, 0), (1, 1), (2, 1): s² = 1/6, one degree
// of freedom, in t = x - 1 the normal matrix diag(3, 2).
BandBasis lineBasis() {
    return {std::sqrt(1.0 / 6), 1, 1, 1, {1.0 / 3, 0, 0, 0.5}};
}

TEST(XForValue, TheIntervalIsWhereThePredictionBandHoldsTheValue) {
    const CellTable grid = coefficients({"0.166666666666667", "0.5"});
    // As if from a hundred times the points: a band narrow enough to close.
    const BandBasis basis = {std::sqrt(1.0 / 6), 100, 1, 1, {1.0 / 300, 0, 0, 1.0 / 200}};
    const auto answer = xForValue(grid, 1, "1", "-100", "100", &basis);
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->roots.size(), 1u);
    EXPECT_EQ(answer->roots[0].x, "1.66666666666667");
    // The ends solve (x/2 - 5/6)² = t² s² (1 + 1/300 + (x - 1)²/200).
    const double q = tQuantile(100, 0.95) * tQuantile(100, 0.95) / 6;
    const double a = 0.25 - q / 200, b = -5.0 / 6 + q / 100,
                 c = 25.0 / 36 - q * (1 + 1.0 / 300) - q / 200;
    const double root = std::sqrt(b * b - 4 * a * c);
    EXPECT_NEAR(StrToFloat(answer->roots[0].low), (-b - root) / (2 * a), 1e-5);
    EXPECT_NEAR(StrToFloat(answer->roots[0].high), (-b + root) / (2 * a), 1e-5);
    EXPECT_FALSE(answer->roots[0].lowOpen || answer->roots[0].highOpen);
    EXPECT_EQ(xForValueText(*answer, "1"), "x = 1.66666666666667 (95 % interval " +
                                               answer->roots[0].low + " to " +
                                               answer->roots[0].high + ")");
}

TEST(XForValue, AnEndTheBandDoesNotReachInTheRangeIsOpen) {
    const CellTable grid = coefficients({"0.166666666666667", "0.5"});
    const BandBasis wide = lineBasis(); // one degree of freedom: t = 12.7
    const auto answer = xForValue(grid, 1, "1", "0", "3", &wide);
    ASSERT_TRUE(answer);
    EXPECT_EQ(xForValueText(*answer, "1"),
              "x = 1.66666666666667 (95 % interval below 0 to above 3)");
}

TEST(XForValue, SaysWhenNoXOrEveryXGivesTheValue) {
    const auto none = xForValue(coefficients(kParabola), 2, " 1 ", "0", "10", nullptr);
    ASSERT_TRUE(none);
    EXPECT_EQ(xForValueText(*none, " 1 "), "No x in the drawn range gives f(x) = 1.");
    const auto every = xForValue(coefficients({"4", "0"}), 1, "4", "0", "10", nullptr);
    ASSERT_TRUE(every);
    EXPECT_EQ(xForValueText(*every, "4"), "Every x gives f(x) = 4.");
}

TEST(XForValue, ReadsItsBoxesAsFxDoesAndRefusesWhatItCannotFind) {
    EXPECT_FALSE(xForValue(coefficients({"1", " "}), 1, "1", "0", "1", nullptr));
    EXPECT_THROW(xForValue(coefficients({"1", "2"}), 1, "y", "0", "1", nullptr), EConvertError);
    EXPECT_THROW(xForValue(coefficients({"1", "2"}), 1, "1", "0", "", nullptr), EConvertError);
    EXPECT_THROW(
        xForValue(coefficients({"1", "2"}), 1, "1", "0", "1." + std::string(50, '1'), nullptr),
        EConvertError);
    EXPECT_THROW(xForValue(coefficients(Texts(32, "1")), 31, "1", "0", "1", nullptr), EMathError);
}

} // namespace
