#include "toolkit/conversions.h"

#include "toolkit/arithmetic.h"
#include "toolkit/errors.h"
#include "toolkit/message_text.h"
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

namespace {

[[noreturn]] void notAFloat(std::string_view text) {
    throw EConvertError(quotedText(text) + " is not a valid floating point value");
}

// A number, but not one a double holds.
[[noreturn]] void beyondADouble(std::string_view text) {
    throw EConvertError(quotedText(text) + " is beyond the range of a double");
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
            beyondADouble(text);
        value = 0; // underflow: the nearest double is zero
    } else if (ec != std::errc() || end != begin + parts.unsignedText.size()) {
        notAFloat(text);
    }
    return parts.negative ? -value : value;
}

std::string FloatToStr(double value) {
    return FloatToStr(value, 15);
}

std::string FloatToStr(double value, int significantDigits) {
    checkedResult(value);
    if (value == 0)
        return "0"; // also for negative zero
    // The correctly rounded significant digits and the decimal exponent of
    // the first: "-1.23450000000000e-07".
    char sci[32];
    const char* sciEnd = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific,
                                       significantDigits - 1)
                             .ptr;
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

double CellToFloat(std::string_view text, std::string_view grid, int row, std::string_view column) {
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
