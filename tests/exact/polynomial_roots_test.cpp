#include "exact/polynomial_roots.h"

#include <gtest/gtest.h>

namespace {

Decimal d(const char* text) {
    return *exactDecimal(text);
}

std::vector<Decimal> poly(std::initializer_list<const char*> texts) {
    std::vector<Decimal> coefficients;
    for (const char* text : texts)
        coefficients.push_back(d(text));
    return coefficients;
}

struct RootsCase {
    const char* what;
    std::vector<Decimal> coefficients;
    const char *value, *low, *high;
    std::vector<std::string> xs;
};

class PolynomialRoots : public testing::TestWithParam<RootsCase> {};

TEST_P(PolynomialRoots, EveryXInTheRangeCorrectlyRounded) {
    const RootsCase& c = GetParam();
    const ValueRoots roots = rootsOfValue(c.coefficients, d(c.value), d(c.low), d(c.high));
    EXPECT_FALSE(roots.everywhere);
    EXPECT_EQ(roots.xs, c.xs) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PolynomialRoots,
    testing::Values(
        RootsCase{"x² = 2",
                  poly({"0", "0", "1"}),
                  "2",
                  "-2",
                  "2",
                  {"-1.4142135623731", "1.4142135623731"}},
        RootsCase{
            "a double root counts once", poly({"2", "-3", "0", "1"}), "0", "-5", "5", {"-2", "1"}},
        RootsCase{"roots at both ends and at 0",
                  poly({"0", "-1", "0", "1"}),
                  "0",
                  "-1",
                  "1",
                  {"-1", "0", "1"}},
        RootsCase{"only the range's roots", poly({"0", "-1", "0", "1"}), "0", "0.5", "3", {"1"}},
        RootsCase{"no real root", poly({"1", "0", "1"}), "0", "-10", "10", {}},
        RootsCase{"two roots 1E-14 apart",
                  poly({"1.00000000000001", "-2.00000000000001", "1"}),
                  "0",
                  "0",
                  "2",
                  {"1", "1.00000000000001"}},
        RootsCase{"a root far below 1", poly({"-1E-300", "1"}), "0", "-1", "1", {"1E-300"}},
        RootsCase{"x³ = 10, rounded at the 15th digit",
                  poly({"0", "0", "0", "1"}),
                  "10",
                  "0",
                  "100",
                  {"2.15443469003188"}}));

TEST(PolynomialRoots, AConstantAtTheValueTakesItEverywhere) {
    EXPECT_TRUE(rootsOfValue(poly({"3", "0"}), d("3"), d("0"), d("1")).everywhere);
    const ValueRoots other = rootsOfValue(poly({"3"}), d("4"), d("0"), d("1"));
    EXPECT_FALSE(other.everywhere);
    EXPECT_TRUE(other.xs.empty());
}

} // namespace
