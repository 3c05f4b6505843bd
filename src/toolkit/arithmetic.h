#pragma once

// Arithmetic that raises EMathError where C++ would quietly produce an
// infinity or a NaN.

inline constexpr const char* kDivisionByZero = "Floating point division by zero";
inline constexpr const char* kOverflow = "Floating point overflow";
inline constexpr const char* kInvalidOperation = "Invalid floating point operation";

// dividend / divisor; a zero divisor raises the division-by-zero error.
double checkedDivide(double dividend, double divisor);

// value rounded to the nearest single-precision value (ties to even), held as
// a double. A value beyond the single range raises the overflow error, a NaN
// the invalid-operation error.
double single(double value);

// value itself when finite; otherwise the overflow or invalid-operation error.
double checkedResult(double value);
