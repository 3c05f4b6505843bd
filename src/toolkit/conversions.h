#pragma once

#include <string>
#include <string_view>

// Numbers cross the window's boundary as decimal text. These conversions fix
// that text exactly and ignore the locale: '.' is the decimal separator on
// every desktop. Texts are UTF-8.

// Drops leading and trailing characters with codes up to 32 (blanks and
// control characters).
std::string_view Trim(std::string_view text);

// Drops leading and trailing spaces only, as number texts may carry them.
std::string_view stripSpaces(std::string_view text);

// Blank text is empty after Trim. A cell of spaces is blank, and keeps them.
inline bool IsBlank(std::string_view text) {
    return Trim(text).empty();
}

// Optional surrounding spaces, sign, digits with an optional '.' fraction and
// an optional exponent. Anything else raises EConvertError ("... is not a
// valid floating point value"), and so does a value beyond the range of a
// double ("... is beyond the range of a double"). A value too small reads as
// 0 or a subnormal.
double StrToFloat(std::string_view text);

// StrToFloat of a grid cell's text; a conversion error names the cell, as
// "Points, row 3, f(x): '' is not a valid floating point value".
double CellToFloat(std::string_view text, std::string_view grid, int row, std::string_view column);

// Whether the text follows StrToFloat's grammar, whatever its range.
bool readsAsNumber(std::string_view text);

// 15 significant digits, correctly rounded, trailing zeros dropped; plain
// notation for decimal exponents -4 to 14, otherwise "1.5E-7" style.
// Only finite values have a text: infinity raises the overflow error and NaN
// the invalid-operation error, so no cell ever shows either.
std::string FloatToStr(double value);
// The same with fewer significant digits (1 to 15), for short labels.
std::string FloatToStr(double value, int significantDigits);

// The text FloatToStr writes for a number whose significant digits (the first
// not 0, at most 15 of them) are `digits` and whose first digit stands for
// 10^exponent; also for exponents beyond the range of a double.
std::string decimalText(bool negative, std::string_view digits, int exponent);

// A signed 32-bit decimal integer with optional surrounding spaces and sign,
// or `fallback` for any other text.
int StrToIntDef(std::string_view text, int fallback);

std::string IntToStr(int value);
