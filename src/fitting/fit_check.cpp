#include "fitting/fit_check.h"

#include "exact/exact_number.h"
#include "exact/interpolation.h"
#include "toolkit/cell_block.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

std::vector<std::string> valuesOf(const CellTable& sdgCoefficients) {
    std::vector<std::string> values;
    for (int row = 1; row < sdgCoefficients.rowCount(); ++row)
        values.push_back(sdgCoefficients.cell(1, row));
    return values;
}

// A difference as a sentence quotes it: six significant digits, no sign.
std::string magnitudeText(const mpq_class& difference) {
    return roundedText(abs(difference), 6);
}

std::string rowList(const std::vector<int>& rows) {
    std::string list = IntToStr(rows[0]);
    for (size_t i = 1; i < rows.size(); ++i)
        list += (i + 1 == rows.size() ? " and " : ", ") + IntToStr(rows[i]);
    return list;
}

// Significant digits that a relative error leaves, 0 to 15.
int digitsKept(const mpq_class& relativeError) {
    const double error = relativeError.get_d();
    return error >= 1 ? 0 : std::min(15, int(std::floor(-std::log10(error))));
}

} // namespace

ExactFit::ExactFit(const CellTable& sgdResult) : points(sgdResult) {
    for (int row = 1; row < sgdResult.rowCount(); ++row) {
        for (const int col : {0, 1}) {
            const auto value = exactDecimal(sgdResult.cell(col, row));
            if (!value) {
                noFitReason = "The exact check takes numbers of at most " +
                              IntToStr(kMaxExactDigits) + " significant digits, from 1E-" +
                              IntToStr(kMaxExactExponent) + " to 1E" +
                              IntToStr(kMaxExactExponent) + " in size; Points, row " +
                              IntToStr(row) + ", " + (col == 0 ? "x" : "f(x)") + " is " +
                              quotedText(sgdResult.cell(col, row)) + ".";
                noFit = FitReport::Verdict::unchecked;
                return;
            }
            (col == 0 ? xs : fxs).push_back(*value);
        }
    }
    std::vector<mpq_class> xValues, fxValues;
    for (const Decimal& x : xs)
        xValues.push_back(x.value());
    for (const Decimal& fx : fxs)
        fxValues.push_back(fx.value());
    std::vector<int> order(xs.size());
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
        noFitReason = "No polynomial of degree " + IntToStr(int(xs.size()) - 1) +
                      " passes through these points: x = " +
                      std::string(stripSpaces(sgdResult.cell(0, rows[0]))) + " is in rows " +
                      rowList(rows) + ".";
        return;
    }
    if (const auto fit = interpolate(xValues, fxValues)) {
        for (const Decimal& c : *fit)
            coefficients.push_back(c.value());
    } else {
        noFit = FitReport::Verdict::unchecked;
        noFitReason = "The exact fit did not settle to 30 digits within " +
                      std::to_string(kMaxPrecision) + " bits of precision.";
    }
}

FitReport ExactFit::compare(const CellTable& sdgCoefficients) const {
    FitReport report{noFit, noFitReason + " Click for details.", noFitReason, {}, {}};
    if (coefficients.empty())
        return report;

    mpq_class scale;
    for (const mpq_class& c : coefficients)
        scale = std::max(scale, mpq_class(abs(c)));
    const int count = std::min(int(coefficients.size()), sdgCoefficients.rowCount() - 1);

    // The shown coefficients against the exact ones.
    std::vector<Decimal> shown;
    std::optional<int> unreadable;
    std::optional<int> worstCoefficient;
    mpq_class worstDifference; // the largest, against the largest exact coefficient
    for (int k = 0; k < count; ++k) {
        const std::string& letter = sdgCoefficients.cell(0, k + 1);
        const std::string& text = sdgCoefficients.cell(1, k + 1);
        const std::string exact = roundedText(coefficients[k]);
        const auto value = exactDecimal(text);
        if (!value) {
            unreadable = unreadable.value_or(k);
            report.coefficients.push_back({letter, text, exact, "", true});
            continue;
        }
        shown.push_back(*value);
        const mpq_class shownValue = value->value();
        const mpq_class difference = shownValue - coefficients[k];
        const mpq_class bound = std::max(scale, mpq_class(abs(shownValue)));
        const bool off = abs(difference) > kAgreement * bound;
        report.coefficients.push_back({letter, text, exact, roundedText(difference), off});
        if (sgn(difference) != 0 && abs(difference) > abs(worstDifference)) {
            worstDifference = difference;
            worstCoefficient = k;
        }
    }

    // The shown polynomial at each point against f(x).
    // The shown polynomial at each point against f(x), as decimals: exact,
    // and fast to round however long they get.
    Decimal largestFx;
    for (const Decimal& fx : fxs)
        if (compareMagnitude(fx, largestFx) > 0)
            largestFx = fx;
    const Decimal tolerance{largestFx.digits, largestFx.exponent - 5}; // kAgreement of it
    std::optional<size_t> worstPoint; // the largest miss, off or not
    Decimal worstMiss;
    bool pointsOff = false;
    const std::vector<Decimal> shownAtX = unreadable ? std::vector<Decimal>() : valuesAt(shown, xs);
    for (size_t k = 0; k < xs.size(); ++k) {
        PointCheck point{std::string(stripSpaces(points.cell(0, int(k) + 1))),
                         std::string(stripSpaces(points.cell(1, int(k) + 1))), "", "", false};
        if (!unreadable) {
            const Decimal miss = shownAtX[k] - fxs[k];
            point.shownValue = roundedText(shownAtX[k]);
            point.miss = roundedText(miss);
            point.off = compareMagnitude(miss, tolerance) > 0;
            pointsOff = pointsOff || point.off;
            if (sgn(miss.digits) != 0 && (!worstPoint || compareMagnitude(miss, worstMiss) > 0)) {
                worstPoint = k;
                worstMiss = miss;
            }
        }
        report.points.push_back(point);
    }

    const bool coefficientsOff = std::any_of(report.coefficients.begin(),
                                             report.coefficients.end(),
                                             [](const CoefficientCheck& c) { return c.off; });
    const int kept = sgn(worstDifference) == 0 ? 15
                     : sgn(scale) == 0            ? 0
                                                  : digitsKept(abs(worstDifference) / scale);
    const std::string keptText = kept == 0 ? "none" : "about " + IntToStr(kept);
    const std::string precision =
        "The elimination runs in single precision, which carries about 7 significant digits";
    if (unreadable) {
        const CoefficientCheck& bad = report.coefficients[size_t(*unreadable)];
        report.verdict = FitReport::Verdict::off;
        report.summary = "The shown coefficient " + bad.letter + ", " + quotedText(bad.shown) +
                         ", is not a number the check reads. Click for the exact fit.";
        report.reason = "The check compares the values the coefficient grid shows with the "
                        "exact ones; " + bad.letter + " holds " + quotedText(bad.shown) +
                        ", which is not a number.";
        return report;
    }
    if (!coefficientsOff && !pointsOff) {
        report.verdict = FitReport::Verdict::agrees;
        report.summary = worstCoefficient
                             ? "The shown coefficients agree with the exact fit: the largest "
                               "difference is " +
                                   report.coefficients[size_t(*worstCoefficient)].letter +
                                   " by " + magnitudeText(worstDifference) +
                                   ". Click for the exact fit."
                             : "The shown coefficients are the exact fit. Click for details.";
        report.reason = worstCoefficient ? precision + "; the shown coefficients keep " +
                                               keptText +
                                               " of them, measured against the largest exact "
                                               "coefficient."
                                         : "Every shown coefficient is the exact one.";
        return report;
    }
    report.verdict = FitReport::Verdict::off;
    std::vector<std::string> parts;
    if (coefficientsOff)
        parts.push_back(report.coefficients[size_t(*worstCoefficient)].letter + " by " +
                        magnitudeText(worstDifference));
    if (worstPoint)
        parts.push_back("the polynomial misses x = " + report.points[*worstPoint].x + " by " +
                        roundedText(Decimal{abs(worstMiss.digits), worstMiss.exponent}, 6));
    report.summary = "The shown coefficients are off: " + parts[0] +
                     (parts.size() > 1 ? "; " + parts[1] : "") + ". Click for the exact fit.";
    if (coefficientsOff)
        report.reason = precision + ", and takes its pivots in the order the rows come; here "
                        "the shown coefficients kept " + keptText + " of them: " + report.coefficients[size_t(*worstCoefficient)].letter +
                        " is off by " + magnitudeText(worstDifference) +
                        " where the largest exact coefficient is " + roundedText(scale, 6) + ".";
    else
        report.reason = precision + "; the shown coefficients keep " + keptText +
                        " of them, but the powers of x magnify what they lose: at x = " +
                        report.points[*worstPoint].x + " the shown polynomial misses f(x) by " +
                        roundedText(Decimal{abs(worstMiss.digits), worstMiss.exponent}, 6) + ".";
    return report;
}

void ExactFit::writeExactValues(CellTable& sdgCoefficients) const {
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

void FitCheck::prepare(const CellTable& sgdResult) {
    if (pending.valid() || (exact && exact->madeFrom(sgdResult)))
        return;
    pending = std::async(std::launch::async, [points = sgdResult] { return ExactFit(points); });
}

void FitCheck::start(const CellTable& sgdResult, const CellTable& sdgCoefficients, bool solved) {
    if (pending.valid())
        exact.emplace(pending.get());
    if (!exact || !exact->madeFrom(sgdResult))
        exact.emplace(sgdResult);
    comparedValues = valuesOf(sdgCoefficients);
    current = exact->compare(sdgCoefficients);
    if (!solved && current->verdict != FitReport::Verdict::noExactFit)
        current.reset();
}

bool FitCheck::follow(const CellTable& sgdResult, const CellTable& sdgCoefficients) {
    if (!current)
        return false;
    if (!exact->madeFrom(sgdResult)) {
        current.reset();
        return true;
    }
    std::vector<std::string> values = valuesOf(sdgCoefficients);
    if (values == comparedValues)
        return false;
    comparedValues = std::move(values);
    current = exact->compare(sdgCoefficients);
    return true;
}

std::string reportText(const FitReport& report) {
    CellBlock coefficients{{"Coefficient", "Shown", "Exact", "Difference"}};
    for (const CoefficientCheck& c : report.coefficients)
        coefficients.push_back({c.letter, c.shown, c.exact, c.difference});
    CellBlock points{{"x", "f(x)", "Shown polynomial at x", "Miss"}};
    for (const PointCheck& p : report.points)
        points.push_back({p.x, p.fx, p.shownValue, p.miss});
    return cellBlockText(coefficients) + "\n" + cellBlockText(points);
}
