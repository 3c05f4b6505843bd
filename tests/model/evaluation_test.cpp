#include "model/evaluation.h"

#include "support/cells.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

namespace {

// The coefficient grid with its letters and the given values.
CellTable coefficientsOf(const Texts& values) {
    Grid rows;
    for (size_t i = 0; i < values.size(); ++i)
        rows.push_back({std::string(1, char('A' + i)), values[i]});
    return tableOf(2, rows);
}

// The message of the error evaluateAtX raises, or "" when it raises none.
std::string failure(const CellTable& coefficients, int degree, const char* x) {
    try {
        evaluateAtX(coefficients, degree, x);
    } catch (const Exception& error) {
        return error.what();
    }
    return "";
}

const CellTable cubic = coefficientsOf({"2", "3", "-2", "1"});

class FxAt : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(FxAt, EvaluatesTheFittedPolynomial) {
    EXPECT_EQ(evaluateAtX(cubic, 3, GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(WorkedExample, FxAt,
                         ::testing::Values(std::pair{"5", "92"}, std::pair{"0", "2"},
                                           std::pair{"1", "4"}, std::pair{"2", "8"},
                                           std::pair{"3", "20"}, std::pair{"4", "46"},
                                           std::pair{" -1.5 ", "-10.375"}));

TEST(Fx, GivesNothingWhileACoefficientIsBlankOrThereIsNoTemplate) {
    EXPECT_EQ(evaluateAtX(coefficientsOf({"", "", "", ""}), 3, "5"), std::nullopt);
    const CellTable gap = coefficientsOf({"2", "3", "   ", "1"});
    EXPECT_EQ(evaluateAtX(gap, 3, "not even a number"), std::nullopt)
        << "x is read only when every value is there";
    EXPECT_EQ(evaluateAtX(cubic, -1, "5"), std::nullopt);
}

TEST(Fx, ReportsTheLowestBadCellEvenBelowABlankOne) {
    EXPECT_EQ(failure(coefficientsOf({"", "2", "abc", "x"}), 3, "5"),
              "Coefficients, row 3, C: '\u2068abc\u2069' is not a valid floating point value");
}

TEST(Fx, ReadsXLastAndRefusesAnInfiniteValue) {
    EXPECT_EQ(failure(cubic, 3, ""), "'\u2068\u2069' is not a valid floating point value");
    EXPECT_EQ(failure(cubic, 3, "five"), "'\u2068five\u2069' is not a valid floating point value");
    EXPECT_EQ(failure(coefficientsOf({"0", "0", "0", "1E300"}), 3, "1E10"),
              "Floating point overflow");
}

TEST(Fx, UsesOnlyTheRowsOfTheDegreeGiven) {
    EXPECT_EQ(evaluateAtX(cubic, 1, "10"), "32");
    EXPECT_EQ(evaluateAtX(coefficientsOf({"2.50"}), 0, "123"), "2.5") << "reformatted";
}

TEST(Poly, IsHornersRule) {
    const double coefficients[] = {2, 3, -2, 1};
    EXPECT_EQ(poly(5, 3, coefficients), 92);
    EXPECT_EQ(poly(0.5, 0, coefficients), 2);
    // Horner's order of rounding: ((1 * 0.1 + -2) * 0.1 + 3) * 0.1 + 2
    EXPECT_EQ(poly(0.1, 3, coefficients), ((1 * 0.1 + -2) * 0.1 + 3) * 0.1 + 2);
}

} // namespace
