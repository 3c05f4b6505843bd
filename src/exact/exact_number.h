#pragma once

#include <gmpxx.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Numbers read and written exactly: a decimal text is a rational number, and
// a rational number is written back correctly rounded.

// The exact check takes numbers with at most this many significant digits,
// whose first digit stands for a power of ten within this many of 10^0.
// Every double's text fits; longer numbers would make exact arithmetic on
// many points take minutes.
inline constexpr int kMaxExactDigits = 40;
inline constexpr int kMaxExactExponent = 400;

// A decimal number exactly: digits * 10^exponent.
struct Decimal {
    mpz_class digits;
    long exponent = 0;

    mpq_class value() const;
};

// The exact values of decimals, in order.
std::vector<mpq_class> valuesOf(const std::vector<Decimal>& decimals);

// a - b, exactly.
Decimal operator-(const Decimal& a, const Decimal& b);

// Whether |a| is below (-1), equal to (0) or above (1) |b|.
int compareMagnitude(const Decimal& a, const Decimal& b);

// The exact value of a text StrToFloat reads (spaces, sign, digits, '.',
// exponent); nothing for any other text, or one beyond the limits above.
std::optional<Decimal> exactDecimal(std::string_view text);

// A decimal written out whole, "digits e exponent", and read back: exact at
// any length, for keeping an exact value as text.
std::string wholeText(const Decimal& value);
Decimal fromWholeText(std::string_view text);

// 10^exponent, for exponent >= 0.
mpz_class powerOfTen(long exponent);

// `value` rounded to a whole multiple of 10^exponent (ties to even).
Decimal roundedTo(const mpq_class& value, long exponent);

// The significant digits a relative error leaves, 0 to `most`: `most`
// where there is no error.
int digitsKept(const mpq_class& relativeError, int most = 15);

// floor(log10(|value|)) for a value that is not 0.
long decimalExponent(const mpq_class& value);

// `value` correctly rounded to `digits` significant digits (ties to even),
// written as FloatToStr writes a double, also beyond the range of a double.
std::string roundedText(const mpq_class& value, int digits = 15);
// The same for a decimal, by integer division alone: fast for long ones.
std::string roundedText(const Decimal& value, int digits = 15);

// The square root of a value >= 0, correctly rounded to `digits` significant
// digits (ties to even), written as roundedText writes.
std::string squareRootText(const mpq_class& value, int digits = 15);
