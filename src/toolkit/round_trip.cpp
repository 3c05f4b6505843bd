#include "toolkit/round_trip.h"

#include "toolkit/arithmetic.h"
#include "toolkit/conversions.h"

#include <array>
#include <bit>
#include <cstdint>
#include <optional>

namespace {

using u128 = unsigned __int128;

// 10^0 .. 10^38, all below 2^128.
constexpr auto kPowersOfTen = [] {
    std::array<u128, 39> powers{};
    powers[0] = 1;
    for (size_t k = 1; k < powers.size(); ++k)
        powers[k] = powers[k - 1] * 10;
    return powers;
}();

// A / B rounded to the nearest integer, ties to the even one, as the 15
// digits of FloatToStr are rounded.
u128 roundedQuotient(u128 a, u128 b) {
    const u128 quotient = a / b, remainder = a % b;
    if (2 * remainder > b || (2 * remainder == b && (quotient & 1)))
        return quotient + 1;
    return quotient;
}

// The same for B = 2^shift, 0 < shift < 128, by shifts alone.
u128 roundedShift(u128 a, int shift) {
    const u128 quotient = a >> shift, remainder = a & ((u128(1) << shift) - 1);
    const u128 half = u128(1) << (shift - 1);
    if (remainder > half || (remainder == half && (quotient & 1)))
        return quotient + 1;
    return quotient;
}

// The 15 significant digits of m * 2^e, given its decimal exponent guess;
// nothing when the exact arithmetic would need more than 128 bits.
std::optional<uint64_t> fifteenDigits(uint32_t m, int e, int decimalExponent) {
    const int shift = 14 - decimalExponent; // the digits are m * 2^e * 10^shift
    if (shift >= 0) {
        if (shift > 31)
            return std::nullopt;
        const u128 scaled = u128(m) * kPowersOfTen[size_t(shift)]; // below 2^24 * 10^31 < 2^128
        if (e >= 0)
            return e > 60 ? std::nullopt : std::optional<uint64_t>(uint64_t(scaled << e));
        if (-e >= 127)
            return std::nullopt;
        return uint64_t(roundedShift(scaled, -e));
    }
    if (-shift > 38 || e < 0 || e > 103)
        return std::nullopt;
    return uint64_t(roundedQuotient(u128(m) << e, kPowersOfTen[size_t(-shift)]));
}

constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The round trip of a nonzero float, or nothing outside the shortcut's range.
std::optional<double> floatRoundTrip(float f) {
    const uint32_t bits = std::bit_cast<uint32_t>(f);
    const uint32_t biased = (bits >> 23) & 0xFF;
    const uint32_t m = biased == 0 ? bits & 0x7FFFFF : (bits & 0x7FFFFF) | 0x800000;
    const int e = biased == 0 ? -149 : int(biased) - 150;
    // The decimal exponent from a guess, settled by the digits: 15 of them.
    // Digits that round up to 10^15 are those one place higher, as to_chars
    // writes them.
    // log10(2) = 0.30103: a guess from the binary exponent, off by one at most.
    const int binaryExponent = e + std::bit_width(m) - 1;
    int exponent = (binaryExponent * 78913) >> 18;
    std::optional<uint64_t> digits;
    for (int attempt = 0; attempt < 3 && !digits; ++attempt) {
        const auto candidate = fifteenDigits(m, e, exponent);
        if (!candidate)
            return std::nullopt;
        if (*candidate < 100'000'000'000'000)
            --exponent;
        else if (*candidate >= 1'000'000'000'000'000)
            ++exponent;
        else
            digits = candidate;
    }
    const int power = exponent - 14; // the value is digits * 10^power
    if (!digits || power < -22 || power > 22)
        return std::nullopt;
    // digits < 2^53 and 10^|power| are exact doubles: one correctly rounded
    // operation gives the double nearest the text, as StrToFloat does.
    const double value = power >= 0 ? double(*digits) * kExactPowersOfTen[power]
                                    : double(*digits) / kExactPowersOfTen[-power];
    return (bits >> 31) ? -value : value;
}

} // namespace

double roundTrip(double value) {
    checkedResult(value);
    if (value == 0)
        return 0; // "0", also for negative zero
    const float f = static_cast<float>(value);
    if (double(f) == value)
        if (const auto fast = floatRoundTrip(f))
            return *fast;
    return StrToFloat(FloatToStr(value));
}
