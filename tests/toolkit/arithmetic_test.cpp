#include "toolkit/arithmetic.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

void expectMathError(double (*operation)(double), double argument, const char* message) {
    try {
        operation(argument);
        FAIL() << "no error for " << argument;
    } catch (const EMathError& error) {
        EXPECT_STREQ(error.what(), message);
    }
}

TEST(Single, RoundsToNearestEven) {
    EXPECT_EQ(single(0.1), double(0.1f));
    EXPECT_EQ(single(1 + 0x1p-24), 1.0);             // tie: to even
    EXPECT_EQ(single(1 + 3 * 0x1p-24), 1 + 0x1p-22); // tie: to even, upwards
    EXPECT_EQ(single(1e-50), 0.0);
    EXPECT_EQ(single(FLT_MAX), double(FLT_MAX));
    EXPECT_EQ(single(std::nextafter(0x1.ffffffp127, 0.0)), double(FLT_MAX));
}

TEST(Single, RaisesOverflowBeyondTheSingleRange) {
    expectMathError(single, 0x1.ffffffp127, kOverflow);
    expectMathError(single, -1e39, kOverflow);
    expectMathError(single, std::numeric_limits<double>::infinity(), kOverflow);
    expectMathError(single, std::nan(""), kInvalidOperation);
}

TEST(CheckedDivide, RaisesDivisionByZero) {
    EXPECT_EQ(checkedDivide(1, 4), 0.25);
    for (double dividend : {1.0, 0.0, -3.0}) {
        try {
            checkedDivide(dividend, 0.0);
            FAIL();
        } catch (const EMathError& error) {
            EXPECT_STREQ(error.what(), kDivisionByZero);
        }
    }
}

TEST(CheckedResult, PassesFiniteValuesOnly) {
    EXPECT_EQ(checkedResult(DBL_MAX), DBL_MAX);
    expectMathError(checkedResult, -std::numeric_limits<double>::infinity(), kOverflow);
    expectMathError(checkedResult, std::nan(""), kInvalidOperation);
}

} // namespace
