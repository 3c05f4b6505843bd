#include "exact/interpolation.h"

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
    EXPECT_EQ(fitValues({4, 1, 3, 2}, {46, 4, 20, 8}), (Rationals{2, 3, -2, 1}))
        << "in any order";
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
    EXPECT_EQ(rationals(valuesAt(decimals({"0.100000001490116", "0", "1"}), decimals({"0.1", "1E3"}))),
              (Rationals{exactDecimal("0.110000001490116")->value(),
                         exactDecimal("1000000.100000001490116")->value()}));
    EXPECT_EQ(rationals(valuesAt({}, decimals({"1", "2"}))), (Rationals{0, 0}));
}

} // namespace
