#pragma once

#include <string>
#include <string_view>
#include <vector>

// The fitted polynomial written for use elsewhere, every digit of its values
// kept: LaTeX for a paper, code for a program, a formula for a spreadsheet,
// or the coefficients as a column. Values are decimal texts, lowest power
// first; `letters` name them.
enum class PolynomialForm {
    latex,       // 2 + 3x - 2x^{2} + x^{3}; 1.5E-7 as 1.5\times10^{-7}
    cpp,         // double f(double x) { return ((x - 2)*x + 3)*x + 2; }, for C too
    python,      // def f(x): return ((x - 2)*x + 3)*x + 2
    spreadsheet, // =2+3*A1-2*A1^2+A1^3, for the cell reference given
    column,      // a letter and its value on each line, tab-separated
};

// Signs are folded, unit coefficients dropped and zero terms left out in
// every form but the column. A value that is no number, or one beyond the
// range of a double, is refused with an error that names its coefficient,
// as is a cell reference that is none ("B7", "$B$7" are).
std::string polynomialText(PolynomialForm form, const std::vector<std::string>& letters,
                           const std::vector<std::string>& values,
                           std::string_view cellReference = "A1");

// A number's text as LaTeX writes it: "1.5E-7" as 1.5\times10^{-7}, "1E300"
// as 10^{300}, "-2" as -2.
std::string latexNumber(const std::string& text);
