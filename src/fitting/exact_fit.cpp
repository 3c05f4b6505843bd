#include "fitting/exact_fit.h"

#include "exact/exact_number.h"
#include "exact/interpolation.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <algorithm>
#include <cmath>
#include <numeric>

struct ExactFit::Numbers {
    CellTable points{0, 0};
    std::vector<Decimal> xs, fxs;
    std::vector<mpq_class> coefficients; // empty when there is no fit
    std::optional<NoExactFit> noFit;
    bool unchecked = false; // no fit, because the check cannot read a number or settle
};

namespace {

// 1E-kAgreementDigits.
const mpq_class kAgreement(1, powerOfTen(kAgreementDigits));

// A difference as a sentence quotes it: six significant digits, no sign.
std::string magnitudeText(const mpq_class& difference) {
    return roundedText(abs(difference), 6);
}

// Significant digits that a relative error leaves, 0 to 15.
int digitsKept(const mpq_class& relativeError) {
    const double error = relativeError.get_d();
    return error >= 1 ? 0 : std::min(15, int(std::floor(-std::log10(error))));
}

// The rows of the first x that more than one row holds, or none.
std::vector<int> rowsSharingAnX(const std::vector<mpq_class>& xValues) {
    std::vector<int> order(xValues.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return xValues[a] < xValues[b]; });
    for (size_t i = 0; i + 1 < order.size(); ++i) {
        if (xValues[order[i]] != xValues[order[i + 1]])
            continue;
        std::vector<int> rows;
        for (size_t j = i; j < order.size() && xValues[order[j]] == xValues[order[i]]; ++j)
            rows.push_back(order[j] + 1);
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    return {};
}

} // namespace

ExactFit::ExactFit(const CellTable& sgdResult) {
    auto owned = std::make_unique<Numbers>();
    Numbers& fit = *owned;
    numbers = std::move(owned);
    fit.points = sgdResult;
    const int degree = sgdResult.rowCount() - 2;
    for (int row = 1; row < sgdResult.rowCount(); ++row)
        for (const int col : {0, 1}) {
            const auto value = exactDecimal(sgdResult.cell(col, row));
            if (!value) {
                fit.noFit = {
                    NoExactFit::Why::unreadPoint, degree, {row}, col, sgdResult.cell(col, row)};
                fit.unchecked = true;
                return;
            }
            (col == 0 ? fit.xs : fit.fxs).push_back(*value);
        }
    std::vector<mpq_class> xValues, fxValues;
    for (const Decimal& x : fit.xs)
        xValues.push_back(x.value());
    for (const Decimal& fx : fit.fxs)
        fxValues.push_back(fx.value());
    if (const std::vector<int> rows = rowsSharingAnX(xValues); !rows.empty()) {
        fit.noFit = {NoExactFit::Why::sharedX, degree, rows, 0,
                     std::string(stripSpaces(sgdResult.cell(0, rows[0])))};
        return;
    }
    if (const auto coefficients = interpolate(xValues, fxValues)) {
        for (const Decimal& c : *coefficients)
            fit.coefficients.push_back(c.value());
    } else {
        fit.noFit = {NoExactFit::Why::unsettled, degree, {}, 0, ""};
        fit.unchecked = true;
    }
}

ExactFit::ExactFit(ExactFit&&) noexcept = default;
ExactFit& ExactFit::operator=(ExactFit&&) noexcept = default;
ExactFit::~ExactFit() = default;

bool ExactFit::madeFrom(const CellTable& sgdResult) const {
    return sgdResult == numbers->points;
}

FitComparison ExactFit::compare(const CellTable& sdgCoefficients) const {
    const Numbers& fit = *numbers;
    FitComparison result;
    result.noFit = fit.noFit;
    if (fit.noFit) {
        result.verdict =
            fit.unchecked ? FitComparison::Verdict::unchecked : FitComparison::Verdict::noExactFit;
        return result;
    }

    mpq_class scale;
    for (const mpq_class& c : fit.coefficients)
        scale = std::max(scale, mpq_class(abs(c)));
    result.largestExact = roundedText(scale, 6);
    const int count = std::min(int(fit.coefficients.size()), sdgCoefficients.rowCount() - 1);

    // The shown coefficients against the exact ones.
    std::vector<Decimal> shown;
    mpq_class worstDifference; // the largest, against the largest exact coefficient
    for (int k = 0; k < count; ++k) {
        const std::string& letter = sdgCoefficients.cell(0, k + 1);
        const std::string& text = sdgCoefficients.cell(1, k + 1);
        const std::string exact = roundedText(fit.coefficients[k]);
        const auto value = exactDecimal(text);
        if (!value) {
            result.unreadable = result.unreadable.value_or(size_t(k));
            result.coefficients.push_back({letter, text, exact, "", true});
            continue;
        }
        shown.push_back(*value);
        const mpq_class shownValue = value->value();
        const mpq_class difference = shownValue - fit.coefficients[k];
        const mpq_class bound = std::max(scale, mpq_class(abs(shownValue)));
        const bool off = abs(difference) > kAgreement * bound;
        result.coefficients.push_back({letter, text, exact, roundedText(difference), off});
        result.coefficientsOff = result.coefficientsOff || off;
        if (sgn(difference) != 0 && abs(difference) > abs(worstDifference)) {
            worstDifference = difference;
            result.worstCoefficient = size_t(k);
        }
    }
    result.worstDifference = magnitudeText(worstDifference);
    result.digitsKept = sgn(worstDifference) == 0 ? 15
                        : sgn(scale) == 0         ? 0
                                                  : digitsKept(abs(worstDifference) / scale);

    // The shown polynomial at each point against f(x), as decimals: exact,
    // and fast to round however long they get.
    Decimal largestFx;
    for (const Decimal& fx : fit.fxs)
        if (compareMagnitude(fx, largestFx) > 0)
            largestFx = fx;
    const Decimal tolerance{largestFx.digits, largestFx.exponent - kAgreementDigits};
    Decimal worstMiss;
    bool pointsOff = false;
    const std::vector<Decimal> shownAtX =
        result.unreadable ? std::vector<Decimal>() : valuesAt(shown, fit.xs);
    for (size_t k = 0; k < fit.xs.size(); ++k) {
        PointCheck point{std::string(stripSpaces(fit.points.cell(0, int(k) + 1))),
                         std::string(stripSpaces(fit.points.cell(1, int(k) + 1))), "", "", false};
        if (!result.unreadable) {
            const Decimal miss = shownAtX[k] - fit.fxs[k];
            point.shownValue = roundedText(shownAtX[k]);
            point.miss = roundedText(miss);
            point.off = compareMagnitude(miss, tolerance) > 0;
            pointsOff = pointsOff || point.off;
            if (sgn(miss.digits) != 0 &&
                (!result.worstPoint || compareMagnitude(miss, worstMiss) > 0)) {
                result.worstPoint = k;
                worstMiss = miss;
            }
        }
        result.points.push_back(point);
    }
    result.worstMiss = roundedText(Decimal{abs(worstMiss.digits), worstMiss.exponent}, 6);
    result.verdict = result.unreadable || result.coefficientsOff || pointsOff
                         ? FitComparison::Verdict::off
                         : FitComparison::Verdict::agrees;
    return result;
}

void ExactFit::writeExactValues(CellTable& sdgCoefficients) const {
    const std::vector<mpq_class>& coefficients = numbers->coefficients;
    const int count = std::min(int(coefficients.size()), sdgCoefficients.rowCount() - 1);
    std::vector<std::string> texts;
    for (int k = 0; k < count; ++k) {
        texts.push_back(roundedText(coefficients[k]));
        try {
            StrToFloat(texts.back());
        } catch (const EConvertError&) {
            throw Exception("The exact coefficient " + sdgCoefficients.cell(0, k + 1) + " is " +
                            roundedText(coefficients[k], 6) +
                            ", beyond the range of a double: no value was written.");
        }
    }
    for (int k = 0; k < count; ++k)
        sdgCoefficients.setCell(1, k + 1, texts[k]);
}
