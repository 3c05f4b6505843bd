#include "toolkit/arithmetic.h"

#include "toolkit/errors.h"

#include <cmath>

double checkedDivide(double dividend, double divisor) {
    if (divisor == 0.0)
        throw EMathError(kDivisionByZero);
    return dividend / divisor;
}

double single(double value) {
    // Halfway between FLT_MAX and the next power of two: from here on a
    // double rounds to infinity as a float.
    constexpr double kSingleOverflow = 0x1.ffffffp127;
    if (std::fabs(checkedResult(value)) >= kSingleOverflow)
        throw EMathError(kOverflow);
    return static_cast<float>(value);
}

double checkedResult(double value) {
    if (std::isnan(value))
        throw EMathError(kInvalidOperation);
    if (std::isinf(value))
        throw EMathError(kOverflow);
    return value;
}
