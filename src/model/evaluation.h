#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CellTable;

// coefficients[degree] * x^degree + ... + coefficients[0] by Horner's rule:
// r = coefficients[degree], then r = r * x + coefficients[k] for k downwards.
double poly(double x, int degree, const double coefficients[]);

// The coefficient values in rows 1 .. degree + 1 of sdgCoefficients (column
// 1), lowest power first; nothing when one of them is blank or the degree is
// negative. Every row is read, so a cell that is not a number raises the
// conversion error for the lowest such row even below a blank one.
std::optional<std::vector<double>> readCoefficients(const CellTable& sdgCoefficients, int degree);

// The text of the polynomial's value at the x that xText holds; an infinite
// value raises the overflow error.
std::string valueText(const std::vector<double>& coefficients, std::string_view xText);

// f(x): the text for txtRfx, the value at the x of `xText`. With a blank
// coefficient, or no template, there is none: nothing is written and nothing
// is said.
std::optional<std::string> evaluateAtX(const CellTable& sdgCoefficients, int degree,
                                       std::string_view xText);
