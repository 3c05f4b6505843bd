#pragma once

#include <string>
#include <string_view>
#include <vector>

class CellTable;

// Generate sizes the grids for degree + 1 coefficients and above this the
// solver's cost, which grows with the cube of the degree, gets out of hand.
inline constexpr int kMaxDegree = 190;

// The letter of coefficient i, the coefficient of x^i: the Latin-1
// character with code (65 + i) mod 256, "A" for the constant term.
std::string coefficientLetter(int i);

// The polynomial with its coefficients written as `terms`, lowest power
// first: "A + Bx^1 + Cx^2" for letters, "2 + 3x^1 + -2x^2" for values.
// With `starts`, where each term starts in the text, in bytes.
std::string expandedForm(const std::vector<std::string>& terms,
                         std::vector<size_t>* starts = nullptr);

// The same in nested (Horner) form: "(Cx + B)x + A".
std::string nestedForm(const std::vector<std::string>& letters);

// What Generate leaves besides the grids and the letters.
struct GeneratedTemplate {
    int degree;           // -1 for text that is not an integer
    std::string expanded; // for txtFx1
    std::string nested;   // for txtFx2
};

// Generate: reads the degree from `degreeText`. For a degree n >= 0 it sizes
// the coefficient grid to n + 2 rows and the answer grid to n + 2 columns
// and 2 rows; it writes the letters into coefNames, the coefficient grid and
// the answer grid's header. Coefficient values stay in the rows that remain.
// A degree above kMaxDegree raises an error before anything changes. The
// point table is the fit kind's to size (fitting/fit_kind.h).
GeneratedTemplate generateTemplate(std::string_view degreeText, std::vector<std::string>& coefNames,
                                   CellTable& sdgCoefficients, CellTable& sgdAns1);

// The texts of the coefficient values, column 1 of sdgCoefficients, lowest
// power first.
std::vector<std::string> coefficientTexts(const CellTable& sdgCoefficients);
// Their letters, column 0, in the same order.
std::vector<std::string> coefficientLetters(const CellTable& sdgCoefficients);
