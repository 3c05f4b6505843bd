#include "toolkit/conversions.h"

#include "toolkit/arithmetic.h"
#include "toolkit/errors.h"
#include "toolkit/number_grammar.h"
#include "toolkit/text_limits.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

std::string isolatedText(std::string_view text, size_t maxBytes) {
    size_t cut = text.size();
    if (cut > maxBytes)
        cut = characterStart(text, maxBytes); // never a character cut in two
    const std::string_view replacement = "\xef\xbf\xbd"; // U+FFFD
    std::string out = "\xe2\x81\xa8"; // U+2068, first strong isolate
    for (size_t i = 0; i < cut; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 32 || byte == 127) {
            out += replacement; // a control character shows, and a NUL ends nothing
        } else if (byte == 0xE2 && i + 2 < text.size() && text[i + 1] == '\x81' &&
                   static_cast<unsigned char>(text[i + 2]) >= 0xA6 &&
                   static_cast<unsigned char>(text[i + 2]) <= 0xA9) {
            out += replacement; // U+2066..U+2069 would open or close isolates of their own
            i += 2;
        } else {
            out += char(byte);
        }
    }
    if (cut < text.size())
        out += "\xe2\x80\xa6"; // an ellipsis
    return out + "\xe2\x81\xa9"; // U+2069, pop directional isolate
}

std::string quotedText(std::string_view text, size_t maxBytes) {
    std::string quoted(1, '\'');
    quoted += isolatedText(text, maxBytes);
    quoted += '\'';
    return quoted;
}

namespace {

[[noreturn]] void notAFloat(std::string_view text) {
    throw EConvertError(quotedText(text) + " is not a valid floating point value");
}

// Decimal exponent of the leading nonzero digit; used only to tell an
// overflow from an underflow, so the mantissa is known not to be zero.
long leadingExponent(const NumberParts& parts) {
    const auto intLead = parts.integerDigits.find_first_not_of('0');
    if (intLead != std::string_view::npos)
        return parts.exponent + long(parts.integerDigits.size() - intLead) - 1;
    return parts.exponent - long(parts.fractionDigits.find_first_not_of('0')) - 1;
}

} // namespace

bool readsAsNumber(std::string_view text) {
    return scanNumber(stripSpaces(text)).valid;
}

std::string decimalCommaNumber(std::string_view text) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos || text.find(',', comma + 1) != std::string_view::npos ||
        text.find('.') != std::string_view::npos)
        return "";
    std::string number(text);
    number[comma] = '.';
    return readsAsNumber(number) ? number : "";
}

std::string_view stripSpaces(std::string_view text) {
    size_t first = 0, last = text.size();
    while (first < last && text[first] == ' ')
        ++first;
    while (last > first && text[last - 1] == ' ')
        --last;
    return text.substr(first, last - first);
}

std::string_view Trim(std::string_view text) {
    size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32)
        --last;
    return text.substr(first, last - first);
}

double StrToFloat(std::string_view text) {
    // Fast path: from_chars agrees with the grammar on every text that starts
    // with a digit or '.', once the sign is taken off.
    std::string_view number = stripSpaces(text);
    const bool negative = !number.empty() && number[0] == '-';
    if (!number.empty() && (number[0] == '-' || number[0] == '+'))
        number.remove_prefix(1);
    if (!number.empty() && (isDigit(number[0]) || number[0] == '.')) {
        double value = 0;
        const char* end = number.data() + number.size();
        const auto result = std::from_chars(number.data(), end, value, std::chars_format::general);
        if (result.ec == std::errc() && result.ptr == end)
            return negative ? -value : value;
    }
    // Everything else: tell a bad text from one out of range.
    const NumberParts parts = scanNumber(stripSpaces(text));
    if (!parts.valid)
        notAFloat(text);
    double value = 0;
    const char* begin = parts.unsignedText.data();
    const auto [end, ec] = std::from_chars(begin, begin + parts.unsignedText.size(), value,
                                           std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (leadingExponent(parts) > 0)
            notAFloat(text);
        value = 0; // underflow: the nearest double is zero
    } else if (ec != std::errc() || end != begin + parts.unsignedText.size()) {
        notAFloat(text);
    }
    return parts.negative ? -value : value;
}

std::string FloatToStr(double value) {
    checkedResult(value);
    if (value == 0)
        return "0"; // also for negative zero
    // The 15 correctly rounded significant digits and the decimal exponent of
    // the first: "-1.23450000000000e-07".
    char sci[32];
    const char* sciEnd =
        std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 14).ptr;
    const char* mantissa = sci + (value < 0);
    const char* e = std::find(mantissa, sciEnd, 'e');
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), sciEnd, exponent);
    char digits[15];
    int count = 0;
    for (const char* p = mantissa; p < e; ++p)
        if (*p != '.')
            digits[count++] = *p;
    return decimalText(value < 0, std::string_view(digits, size_t(count)), exponent);
}

std::string decimalText(bool negative, std::string_view significant, int exponent) {
    const char* digits = significant.data();
    int count = int(std::min<size_t>(significant.size(), 15));
    while (count > 1 && digits[count - 1] == '0')
        --count;

    char out[48];
    char* o = out;
    if (negative)
        *o++ = '-';
    if (exponent >= -4 && exponent <= 14) {
        if (exponent < 0) {
            *o++ = '0';
            *o++ = '.';
            o = std::fill_n(o, -exponent - 1, '0');
            o = std::copy_n(digits, count, o);
        } else {
            const int integerDigits = exponent + 1;
            o = std::copy_n(digits, std::min(count, integerDigits), o);
            o = std::fill_n(o, std::max(0, integerDigits - count), '0');
            if (count > integerDigits) {
                *o++ = '.';
                o = std::copy(digits + integerDigits, digits + count, o);
            }
        }
    } else {
        *o++ = digits[0];
        if (count > 1) {
            *o++ = '.';
            o = std::copy(digits + 1, digits + count, o);
        }
        *o++ = 'E';
        o = std::to_chars(o, out + sizeof out, exponent).ptr;
    }
    return std::string(out, o);
}

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

int StrToIntDef(std::string_view text, int fallback) {
    std::string_view digits = stripSpaces(text);
    bool negative = false;
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isDigit))
        return fallback;
    long long magnitude = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    const long long value = negative ? -magnitude : magnitude;
    if (ec != std::errc() || value < INT32_MIN || value > INT32_MAX)
        return fallback;
    return static_cast<int>(value);
}

double CellToFloat(std::string_view text, std::string_view grid, int row,
                   std::string_view column) {
    try {
        return StrToFloat(text);
    } catch (const EConvertError& error) {
        throw EConvertError(std::string(grid) + ", row " + IntToStr(row) + ", " +
                            std::string(column) + ": " + error.what());
    }
}

std::string IntToStr(int value) {
    return std::to_string(value);
}
