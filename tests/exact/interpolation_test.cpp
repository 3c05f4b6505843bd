#include "exact/interpolation.h"
#include "toolkit/conversions.h"

#include <gtest/gtest.h>

namespace {

using Rationals = std::vector<mpq_class>;

// The values of a fit, or nothing when it did not settle.
std::optional<Rationals> fitValues(const Rationals& xs, const Rationals& ys) {
    const auto fit = interpolate(xs, ys);
    if (!fit)
        return std::nullopt;
    Rationals values;
    for (const Decimal& c : *fit)
        values.push_back(c.value());
    return values;
}

std::vector<Decimal> decimals(const std::vector<const char*>& texts) {
    std::vector<Decimal> values;
    for (const char* text : texts)
        values.push_back(*exactDecimal(text));
    return values;
}

TEST(Interpolation, FindsTheCubicThroughTheDefaultPoints) {
    EXPECT_EQ(fitValues({1, 2, 3, 4}, {4, 8, 20, 46}), (Rationals{2, 3, -2, 1}));
    EXPECT_EQ(fitValues({4, 1, 3, 2}, {46, 4, 20, 8}), (Rationals{2, 3, -2, 1})) << "in any order";
}

TEST(Interpolation, GivesShortExactValuesExactly) {
    EXPECT_EQ(fitValues({0, 1, 2}, {mpq_class(1, 10), mpq_class(11, 10), mpq_class(41, 10)}),
              (Rationals{mpq_class(1, 10), 0, 1}))
        << "0.1 is no binary fraction, and 0 is not the noise of a precision";
    const auto third = fitValues({7}, {mpq_class(5, 3)});
    ASSERT_TRUE(third);
    EXPECT_EQ(roundedText((*third)[0]), "1.66666666666667");
    EXPECT_EQ((*third)[0], mpq_class("16666666666666666666666666666666666666667/"
                                     "10000000000000000000000000000000000000000"));
}

TEST(Interpolation, SettlesAHighDegreeFitOnDecimalPoints) {
    // 1 + x + x^2 at 191 points spread over [-1, 1], each x with 15 digits.
    Rationals xs, ys;
    for (int k = 0; k <= 190; ++k) {
        char text[32];
        std::snprintf(text, sizeof text, "%.14e", -1.0 + 2.0 * k / 190);
        xs.push_back(exactDecimal(text)->value());
        ys.push_back(1 + xs.back() + xs.back() * xs.back());
    }
    Rationals expected(191, 0);
    expected[0] = expected[1] = expected[2] = 1;
    EXPECT_EQ(fitValues(xs, ys), expected);
}

TEST(Interpolation, RaisesThePrecisionUntilCloseNodesSettle) {
    // x + x^2 at x = 1, 1 + 1E-15, 1 + 2E-15, ...: each divided difference
    // divides by 1E-15 once more, so 512 bits leave only noise.
    Rationals xs, ys;
    for (int k = 0; k <= 30; ++k) {
        xs.push_back(1 + mpq_class(k, mpz_class("1000000000000000")));
        ys.push_back(xs.back() + xs.back() * xs.back());
    }
    Rationals expected(31, 0);
    expected[1] = expected[2] = 1;
    EXPECT_EQ(fitValues(xs, ys), expected);
}

// The polynomial through the points in fractions, by Newton's divided
// differences expanded to powers of x: slow, and exact.
Rationals exactInterpolation(const Rationals& xs, const Rationals& ys) {
    const size_t n = xs.size();
    Rationals d = ys, c(n, 0);
    for (size_t order = 1; order < n; ++order)
        for (size_t k = n - 1; k >= order; --k)
            d[k] = (d[k] - d[k - 1]) / (xs[k] - xs[k - order]);
    c[0] = d[n - 1];
    for (size_t k = n - 1; k-- > 0;) {
        for (size_t power = n - 1 - k; power > 0; --power)
            c[power] = c[power - 1] - xs[k] * c[power];
        c[0] = d[k] - xs[k] * c[0];
    }
    return c;
}

TEST(Interpolation, GivesEveryCoefficientFifteenDigitsOfItsOwn) {
    // Runge's function 1/(1 + 25x²) at 191 points over [-1, 1], as a user
    // would type them: the largest coefficient is near 1E64, yet A is 1
    // exactly, (0, 1) being a point. The points stand in pairs x, -x with
    // one f(x), so the exact fit is Q(x²), Q the polynomial through the 96
    // points (x², f(x)) of x >= 0: every odd coefficient is 0.
    Rationals xs, ys, squares, halfYs;
    for (int k = 0; k <= 190; ++k) {
        const double x = (k - 95) / 95.0;
        xs.push_back(exactDecimal(FloatToStr(x))->value());
        ys.push_back(exactDecimal(FloatToStr(1 / (1 + 25 * x * x)))->value());
        if (k >= 95) {
            squares.push_back(xs.back() * xs.back());
            halfYs.push_back(ys.back());
        }
    }
    const auto fit = fitValues(xs, ys);
    ASSERT_TRUE(fit);
    const Rationals even = exactInterpolation(squares, halfYs);
    for (size_t k = 0; k < fit->size(); ++k)
        EXPECT_EQ(roundedText((*fit)[k]), roundedText(k % 2 ? mpq_class(0) : even[k / 2]))
            << "x^" << k;
    EXPECT_EQ((*fit)[0], 1);
    EXPECT_GT(decimalExponent(even[95]), 60) << "the scale this is about";
}

TEST(Interpolation, KeepsATinyCoefficientBesideAHugeOne) {
    const mpq_class tiny = exactDecimal("1E-300")->value(), huge = exactDecimal("1E300")->value();
    const auto fit = fitValues({0, 1}, {tiny, huge});
    ASSERT_TRUE(fit);
    EXPECT_EQ((*fit)[0], tiny);
    EXPECT_EQ(roundedText((*fit)[1]), "1E300");
    EXPECT_EQ(fitValues({0, 1, -1}, {tiny, tiny + huge, tiny + huge}), (Rationals{tiny, 0, huge}))
        << "an even function through points on both sides has odd coefficients of 0";
}

TEST(Interpolation, TakesAnyDegree) {
    EXPECT_EQ(fitValues({7}, {-2}), Rationals{-2});
    EXPECT_EQ(fitValues({mpq_class(-1, 2), mpq_class(1, 2)}, {0, 1}),
              (Rationals{mpq_class(1, 2), 1}));
    EXPECT_EQ(fitValues({}, {}), Rationals{});
}

// The values as fractions, for comparison.
Rationals rationals(const std::vector<Decimal>& values) {
    Rationals result;
    for (const Decimal& value : values)
        result.push_back(value.value());
    return result;
}

TEST(ValuesAt, EvaluatesDecimalCoefficientsExactly) {
    EXPECT_EQ(rationals(valuesAt(decimals({"2", "3", "-2", "1"}), decimals({"5", "-1.5", "0"}))),
              (Rationals{92, mpq_class(-83, 8), 2}));
    EXPECT_EQ(
        rationals(valuesAt(decimals({"0.100000001490116", "0", "1"}), decimals({"0.1", "1E3"}))),
        (Rationals{exactDecimal("0.110000001490116")->value(),
                   exactDecimal("1000000.100000001490116")->value()}));
    EXPECT_EQ(rationals(valuesAt({}, decimals({"1", "2"}))), (Rationals{0, 0}));
}

} // namespace
