#include "toolkit/number_grammar.h"

#include <algorithm>

NumberParts scanNumber(std::string_view s) {
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
