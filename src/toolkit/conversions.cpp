#include "toolkit/conversions.h"

#include "toolkit/arithmetic.h"
#include "toolkit/errors.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <string>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view stripSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

[[noreturn]] void notAFloat(std::string_view text) {
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
}

// The parts of a text that follows the number grammar; `valid` is false for
// any other text.
struct NumberParts {
    bool valid = false;
    bool negative = false;
    std::string_view unsignedText; // the number without its sign
    std::string_view integerDigits;
    std::string_view fractionDigits;
    long exponent = 0; // saturated far beyond any double's range
};

NumberParts parseNumber(std::string_view s) {
    NumberParts parts;
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        parts.negative = s[i] == '-';
        ++i;
    }
    parts.unsignedText = s.substr(i);
    const size_t intStart = i;
    while (i < s.size() && isDigit(s[i]))
        ++i;
    parts.integerDigits = s.substr(intStart, i - intStart);
    if (i < s.size() && s[i] == '.') {
        const size_t fracStart = ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i;
        parts.fractionDigits = s.substr(fracStart, i - fracStart);
    }
    if (parts.integerDigits.empty() && parts.fractionDigits.empty())
        return parts;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            negativeExponent = s[i++] == '-';
        if (i == s.size() || !isDigit(s[i]))
            return parts;
        for (; i < s.size() && isDigit(s[i]); ++i)
            parts.exponent = std::min(parts.exponent * 10 + (s[i] - '0'), 1'000'000L);
        if (negativeExponent)
            parts.exponent = -parts.exponent;
    }
    parts.valid = i == s.size();
    return parts;
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

std::string_view Trim(std::string_view text) {
    size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32)
        --last;
    return text.substr(first, last - first);
}

double StrToFloat(std::string_view text) {
    const NumberParts parts = parseNumber(stripSpaces(text));
    if (!parts.valid)
        notAFloat(text);
    double value = 0;
    const char* begin = parts.unsignedText.data();
    const auto [end, ec] =
        std::from_chars(begin, begin + parts.unsignedText.size(), value, std::chars_format::general);
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
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string_view text(buffer, result.ptr - buffer);
    const auto e = text.find('e');
    if (e == std::string_view::npos)
        return std::string(text);
    // "1.5e-07" -> "1.5E-7", "1e+20" -> "1E20"
    std::string out(text.substr(0, e));
    out += 'E';
    size_t i = e + 1;
    if (text[i] == '-')
        out += '-';
    ++i;
    while (i + 1 < text.size() && text[i] == '0')
        ++i;
    out += text.substr(i);
    return out;
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

std::string IntToStr(int value) { return std::to_string(value); }
