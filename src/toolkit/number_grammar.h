#pragma once

#include <string_view>

// The one grammar of a number's text, which StrToFloat and the exact reader
// share: an optional sign, digits with an optional '.' fraction (at least
// one digit in all), and an optional exponent 'e' or 'E' with its own sign
// and digits. Surrounding spaces are the caller's to strip.
struct NumberParts {
    bool valid = false; // the whole text follows the grammar
    bool negative = false;
    std::string_view unsignedText; // the number without its sign
    std::string_view integerDigits;
    std::string_view fractionDigits;
    long exponent = 0; // saturated at a million either way, far beyond any double
};

NumberParts scanNumber(std::string_view text);

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
