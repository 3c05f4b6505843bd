#include "model/evaluation.h"

#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"

double poly(double x, int degree, const double coefficients[]) {
    double r = coefficients[degree];
    for (int k = degree - 1; k >= 0; --k)
        r = r * x + coefficients[k];
    return r;
}

std::optional<std::vector<double>> readCoefficients(const CellTable& sdgCoefficients, int degree) {
    if (degree < 0)
        return std::nullopt;
    std::vector<double> values(size_t(degree) + 1);
    bool allPresent = true;
    for (int k = 0; k <= degree; ++k) {
        const std::string& text = sdgCoefficients.cell(1, k + 1);
        if (IsBlank(text))
            allPresent = false;
        else
            values[k] = CellToFloat(text, "Coefficients", k + 1, sdgCoefficients.cell(0, k + 1));
    }
    if (!allPresent)
        return std::nullopt;
    return values;
}

std::string valueText(const std::vector<double>& coefficients, std::string_view xText) {
    const double x = StrToFloat(xText);
    return FloatToStr(poly(x, int(coefficients.size()) - 1, coefficients.data()));
}

std::optional<std::string> evaluateAtX(const CellTable& sdgCoefficients, int degree,
                                       std::string_view xText) {
    if (const auto coefficients = readCoefficients(sdgCoefficients, degree))
        return valueText(*coefficients, xText);
    return std::nullopt;
}
