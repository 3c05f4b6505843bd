#pragma once

#include <cmath>

// Arithmetic that raises EMathError where C++ would quietly produce an
// infinity or a NaN. Inline: the solver calls these for every cell.

inline constexpr const char* kDivisionByZero = "Floating point division by zero";
inline constexpr const char* kOverflow = "Floating point overflow";
inline constexpr const char* kInvalidOperation = "Invalid floating point operation";

[[noreturn]] void raiseMathError(const char* message);

// value itself when finite; otherwise the overflow or invalid-operation error.
inline double checkedResult(double value) {
    if (!std::isfinite(value))
        raiseMathError(std::isnan(value) ? kInvalidOperation : kOverflow);
    return value;
}

// dividend / divisor; a zero divisor raises the division-by-zero error.
inline double checkedDivide(double dividend, double divisor) {
    if (divisor == 0.0)
        raiseMathError(kDivisionByZero);
    return dividend / divisor;
}

// value rounded to the nearest single-precision value (ties to even), held as
// a double. A value beyond the single range raises the overflow error, a NaN
// the invalid-operation error.
inline double single(double value) {
    // Halfway between FLT_MAX and the next power of two: from here on a
    // double rounds to infinity as a float.
    constexpr double kSingleOverflow = 0x1.ffffffp127;
    if (std::fabs(checkedResult(value)) >= kSingleOverflow)
        raiseMathError(kOverflow);
    return static_cast<float>(value);
}
