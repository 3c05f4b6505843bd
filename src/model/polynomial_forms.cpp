#include "model/polynomial_forms.h"

#include "toolkit/cell_block.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/message_text.h"
#include "toolkit/number_grammar.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

// A coefficient as the forms write it: its sign apart from the digits.
struct Term {
    int power;
    bool negative;
    std::string magnitude; // as written, without its sign and spaces
    bool unit;             // 1 exactly
};

// A number's magnitude as every form reads it as the same number: no
// leading zeros (C reads "010" as eight), a digit before the point, the
// exponent plain; every typed digit kept. A whole number too long for C's
// integers carries a point.
std::string magnitudeText(std::string_view text) {
    const NumberParts parts = scanNumber(stripSpaces(text));
    std::string_view whole = parts.integerDigits;
    while (whole.size() > 1 && whole.front() == '0')
        whole.remove_prefix(1);
    std::string magnitude = whole.empty() ? "0" : std::string(whole);
    if (!parts.fractionDigits.empty())
        magnitude.append(".").append(parts.fractionDigits);
    else if (magnitude.size() > 18 && parts.exponent == 0)
        magnitude += ".0";
    if (parts.exponent != 0)
        magnitude.append("E").append(std::to_string(parts.exponent));
    return magnitude;
}

std::vector<Term> termsOf(const std::vector<std::string>& letters,
                          const std::vector<std::string>& values) {
    std::vector<Term> terms;
    for (size_t k = 0; k < values.size(); ++k) {
        const std::string letter = k < letters.size() ? letters[k] : IntToStr(int(k));
        double value = 0;
        try {
            value = StrToFloat(values[k]);
        } catch (const EConvertError& error) {
            throw Exception("The coefficient " + letter + " cannot be written: " + error.what() +
                            ".");
        }
        if (value == 0)
            continue; // left out, also -0
        terms.push_back({int(k), value < 0, magnitudeText(values[k]), std::abs(value) == 1});
    }
    return terms;
}

std::string latex(const std::vector<Term>& terms) {
    std::string text;
    for (const Term& term : terms) {
        text += text.empty() ? (term.negative ? "-" : "") : (term.negative ? " - " : " + ");
        const std::string x = term.power == 0   ? ""
                              : term.power == 1 ? "x"
                                                : "x^{" + IntToStr(term.power) + "}";
        text += term.unit && term.power > 0 ? x : latexNumber(term.magnitude) + x;
    }
    return text.empty() ? "0" : text;
}

std::string spreadsheet(const std::vector<Term>& terms, std::string_view cell) {
    std::string text = "=";
    for (const Term& term : terms) {
        if (term.negative)
            text += "-";
        else if (text.size() > 1)
            text += "+";
        const std::string x = term.power == 0   ? ""
                              : term.power == 1 ? std::string(cell)
                                                : std::string(cell) + "^" + IntToStr(term.power);
        // Spreadsheets take a leading minus before ^: "=-A1^2" is (-A1)^2.
        const bool leadingPower = text.size() == 2 && term.negative && term.power > 1;
        text += term.power == 0              ? term.magnitude
                : term.unit && !leadingPower ? x
                                             : term.magnitude + "*" + x;
    }
    return text.size() == 1 ? "=0" : text;
}

// Horner's form, as the expression of C, C++ and Python alike.
std::string horner(const std::vector<Term>& terms) {
    if (terms.empty())
        return "0";
    const int degree = terms.back().power;
    std::string expression;
    auto term = terms.rbegin();
    for (int power = degree; power >= 0; --power) {
        const bool here = term != terms.rend() && term->power == power;
        if (power == degree) { // the leading coefficient, never zero
            expression = (term->negative ? "-" : "") +
                         (term->unit && degree > 0 ? std::string() : term->magnitude);
        } else {
            const bool simple = expression.find_first_of(" ") == std::string::npos;
            expression = simple ? expression : "(" + expression + ")";
            if (!expression.empty() && expression != "-")
                expression += "*";
            expression += "x";
            if (here)
                expression += (term->negative ? " - " : " + ") + term->magnitude;
        }
        if (here)
            ++term;
    }
    return expression;
}

bool isCellReference(std::string_view cell) {
    size_t at = 0;
    const auto letters = [&] {
        const size_t start = at;
        while (at < cell.size() && std::isalpha(static_cast<unsigned char>(cell[at])))
            ++at;
        return at > start && at - start <= 3;
    };
    const auto digits = [&] {
        const size_t start = at;
        while (at < cell.size() && std::isdigit(static_cast<unsigned char>(cell[at])))
            ++at;
        return at > start && cell[start] != '0';
    };
    if (at < cell.size() && cell[at] == '$')
        ++at;
    if (!letters())
        return false;
    if (at < cell.size() && cell[at] == '$')
        ++at;
    return digits() && at == cell.size();
}

} // namespace

std::string polynomialText(PolynomialForm form, const std::vector<std::string>& letters,
                           const std::vector<std::string>& values, std::string_view cellReference) {
    const std::vector<Term> terms = termsOf(letters, values);
    switch (form) {
    case PolynomialForm::latex:
        return latex(terms);
    case PolynomialForm::cpp:
        return "double f(double x) {\n    return " + horner(terms) + ";\n}\n";
    case PolynomialForm::python:
        return "def f(x):\n    return " + horner(terms) + "\n";
    case PolynomialForm::spreadsheet:
        if (!isCellReference(cellReference))
            throw Exception(quotedText(cellReference) +
                            " is no cell reference such as A1 or $B$7.");
        return spreadsheet(terms, cellReference);
    case PolynomialForm::column:
        break;
    }
    CellBlock rows;
    for (size_t k = 0; k < values.size(); ++k)
        rows.push_back({k < letters.size() ? letters[k] : "", values[k]});
    return cellBlockText(rows);
}

std::string latexNumber(const std::string& text) {
    if (text.starts_with('-')) {
        std::string negative(1, '-');
        return negative.append(latexNumber(text.substr(1)));
    }
    const size_t e = text.find_first_of("eE");
    if (e == std::string::npos)
        return text;
    const std::string mantissa = text.substr(0, e);
    const std::string power = "10^{" + IntToStr(StrToIntDef(text.substr(e + 1), 0)) + "}";
    return StrToFloat(mantissa) == 1 ? power : mantissa + "\\times" + power;
}
