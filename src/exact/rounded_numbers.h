#pragma once

#include "exact/rounded_arithmetic.h"
#include "toolkit/arithmetic.h"

#include <gmpxx.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>

// The numbers of each arithmetic in machine words, for reductions of
// thousands of steps: IEEE double and single precision as the processor
// rounds them, and k significant decimal digits as a 64-bit whole number
// times a power of ten: each product and sum formed exactly in 128 bits
// (the smaller of two numbers far apart as one unit below the last place
// that counts), each quotient to a digit more than is kept, and then
// rounded once. Each operation gives what roundedIn gives of its exact
// result; exact fractions are GMP's own. All share one shape: a number
// type and its rounded operations.

struct ExactNumbers {
    using Number = mpq_class;
    Number from(const mpq_class& value) const { return value; }
    mpq_class exact(const Number& value) const { return value; }
    Number add(const Number& a, const Number& b) const { return a + b; }
    Number multiply(const Number& a, const Number& b) const { return a * b; }
    Number divide(const Number& a, const Number& b) const { return a / b; }
    static Number negated(const Number& a) { return -a; }
    static bool isZero(const Number& a) { return sgn(a) == 0; }
    static bool smaller(const Number& a, const Number& b) { return abs(a) < abs(b); }
};

// Float or double; an infinite result raises the overflow error.
template <typename Binary> struct BinaryNumbers {
    using Number = Binary;
    Arithmetic in;
    Number from(const mpq_class& value) const { return Number(roundedIn(in, value).get_d()); }
    static mpq_class exact(Number value) { return mpq_class(double(value)); }
    static Number add(Number a, Number b) { return checked(a + b); }
    static Number multiply(Number a, Number b) { return checked(a * b); }
    static Number divide(Number a, Number b) { return checked(a / b); }
    static Number negated(Number a) { return -a; }
    static bool isZero(Number a) { return a == 0; }
    static bool smaller(Number a, Number b) { return std::abs(a) < std::abs(b); }

  private:
    static Number checked(Number value) {
        if (std::abs(value) > std::numeric_limits<Number>::max())
            raiseMathError(kOverflow);
        return value;
    }
};

// k significant digits: `digits` × 10^`exponent`, with 10^(k-1) <= |digits|
// < 10^k, or 0 × 10^0; one way to write each value, so == compares values.
struct DecimalWord {
    std::int64_t digits = 0;
    std::int64_t exponent = 0;
    bool operator==(const DecimalWord&) const = default;
};

class DecimalNumbers {
  public:
    using Number = DecimalWord;
    explicit DecimalNumbers(const Arithmetic& in) : k(in.digits), chopping(in.chopping) {}

    Number from(const mpq_class& value) const;
    static mpq_class exact(const Number& value);
    Number add(const Number& a, const Number& b) const;
    Number multiply(const Number& a, const Number& b) const {
        if (a.digits == 0 || b.digits == 0)
            return {};
        return rounded(__int128(a.digits) * b.digits, a.exponent + b.exponent);
    }
    Number divide(const Number& a, const Number& b) const;
    static Number negated(const Number& a) { return {-a.digits, a.exponent}; }
    static bool isZero(const Number& a) { return a.digits == 0; }
    static bool smaller(const Number& a, const Number& b) {
        if (a.digits == 0 || b.digits == 0)
            return b.digits != 0;
        return a.exponent != b.exponent ? a.exponent < b.exponent
                                        : std::llabs(a.digits) < std::llabs(b.digits);
    }

  private:
    // whole × 10^exponent, exact, to k digits.
    Number rounded(__int128 whole, std::int64_t exponent) const;
    // The same of a magnitude under 2^60, the sign apart.
    Number roundedWord(std::uint64_t magnitude, bool negative, std::int64_t exponent) const;

    int k;
    bool chopping;
};

// The word arithmetic of k digits, inline: a reduction calls it for every
// entry.
namespace decimal_words {

using Wide = unsigned __int128;

// 10^0 to 10^38, every power of ten 128 bits hold.
inline constexpr auto kPowers = [] {
    std::array<Wide, 39> powers{};
    powers[0] = 1;
    for (size_t n = 1; n < powers.size(); ++n)
        powers[n] = powers[n - 1] * 10;
    return powers;
}();

// The digits of value >= 1: from its bits, log10(2) being 1233 / 4096 to
// within one, which the power of ten then settles.
inline int decimalDigits(Wide value) {
    const auto high = std::uint64_t(value >> 64);
    const int bits = high ? 64 + std::bit_width(high) : std::bit_width(std::uint64_t(value));
    const int guess = (bits * 1233) >> 12;
    return guess + (value >= kPowers[size_t(guess)] ? 1 : 0);
}

// The quotient and remainder, in 64 bits where both fit: a 128-bit division
// costs several times as much.
inline std::pair<Wide, Wide> divided(Wide value, Wide by) {
    if (value >> 64 == 0) {
        const auto v = std::uint64_t(value), b = std::uint64_t(by);
        return {v / b, v % b};
    }
    return {value / by, value % by};
}

// Division of a value under 2^60 by 10^p as one multiplication and a
// shift (Granlund and Montgomery): with l the bits of 10^p and m = 2^(60 +
// l) ÷ 10^p rounded down, plus 1, the quotient is n·m ÷ 2^(60 + l) rounded
// down for every n < 2^60. A division by a number known only at run time
// would be the slowest step of every rounding.
inline constexpr int kWordBits = 60;
struct PowerDivider {
    std::uint64_t multiplier;
    int shift;
};
inline constexpr auto kDividers = [] {
    std::array<PowerDivider, 19> dividers{};
    for (size_t p = 1; p < dividers.size(); ++p) {
        int bits = 0;
        while (Wide(1) << bits < kPowers[p])
            ++bits;
        dividers[p] = {std::uint64_t((Wide(1) << (kWordBits + bits)) / kPowers[p] + 1),
                       kWordBits + bits};
    }
    return dividers;
}();

// The digits of 1 <= value < 2^60.
inline int wordDigits(std::uint64_t value) {
    const int guess = (std::bit_width(value) * 1233) >> 12;
    return guess + (value >= std::uint64_t(kPowers[size_t(guess)]) ? 1 : 0);
}

} // namespace decimal_words

inline DecimalWord DecimalNumbers::rounded(__int128 whole, std::int64_t exponent) const {
    using namespace decimal_words;
    if (whole == 0)
        return {};
    const bool negative = whole < 0;
    const Wide magnitude = negative ? Wide(-whole) : Wide(whole);
    if (magnitude >> kWordBits == 0)
        return roundedWord(std::uint64_t(magnitude), negative, exponent);
    // Longer: to k + 1 digits by a 128-bit division. The digits past the
    // first one dropped never change a chop, nor a rounding half away from
    // zero.
    const int cut = decimalDigits(magnitude) - k - 1;
    return roundedWord(std::uint64_t(divided(magnitude, kPowers[size_t(cut)]).first), negative,
                       exponent + cut);
}

inline DecimalWord DecimalNumbers::roundedWord(std::uint64_t magnitude, bool negative,
                                               std::int64_t exponent) const {
    using namespace decimal_words;
    const int length = wordDigits(magnitude);
    if (length <= k) {
        magnitude *= std::uint64_t(kPowers[size_t(k - length)]);
        exponent -= k - length;
    } else {
        const int cut = length - k;
        const PowerDivider& divider = kDividers[size_t(cut)];
        const auto power = std::uint64_t(kPowers[size_t(cut)]);
        auto quotient = std::uint64_t((Wide(magnitude) * divider.multiplier) >> divider.shift);
        const std::uint64_t remainder = magnitude - quotient * power;
        if (!chopping && remainder >= power - remainder) // half away from zero
            ++quotient;
        exponent += cut;
        if (quotient == std::uint64_t(kPowers[size_t(k)])) { // 9.9996 to 4 digits: 10.00
            quotient /= 10;
            ++exponent;
        }
        magnitude = quotient;
    }
    const auto digits = std::int64_t(magnitude);
    return {negative ? -digits : digits, exponent};
}

inline DecimalWord DecimalNumbers::add(const DecimalWord& a, const DecimalWord& b) const {
    if (a.digits == 0)
        return b;
    if (b.digits == 0)
        return a;
    const DecimalWord& high = a.exponent >= b.exponent ? a : b;
    const DecimalWord& low = a.exponent >= b.exponent ? b : a;
    const std::int64_t shift = high.exponent - low.exponent;
    // From k + 2 places apart the lower one is under half the sum's last
    // place, whichever decade the sum falls in: any number of its sign that
    // is smaller still rounds the same, and one unit k + 3 places down does.
    const auto& powers = decimal_words::kPowers;
    if (shift >= k + 2)
        return rounded(__int128(high.digits) * __int128(powers[size_t(k + 3)]) +
                           (low.digits > 0 ? 1 : -1),
                       high.exponent - (k + 3));
    return rounded(__int128(high.digits) * __int128(powers[size_t(shift)]) + low.digits,
                   low.exponent);
}
