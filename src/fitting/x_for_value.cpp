#include "fitting/x_for_value.h"

#include "exact/polynomial_roots.h"
#include "model/evaluation.h"
#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/text_limits.h"

#include <algorithm>
#include <cmath>

namespace {

Decimal exactly(std::string_view text, const std::string& what) {
    StrToFloat(text); // the conversion error for a text that is no number
    if (auto value = exactDecimal(text))
        return *value;
    throw EConvertError(what + " has more digits than x for f(x) reads exactly: " +
                        std::to_string(kMaxExactDigits) + " at most.");
}

// One end of the inverse prediction interval around the root x0: walking
// from x0 towards `end`, the first x where y leaves the prediction band,
// halved in on; `open` when y stays in the band up to `end`.
double intervalEnd(const std::vector<double>& coefficients, const BandBasis& basis, double t,
                   double y, double x0, double end, bool& open) {
    const auto inside = [&](double x) {
        const double f = poly(x, int(coefficients.size()) - 1, coefficients.data());
        return std::abs(f - y) <= halfWidths(basis, x, t).prediction;
    };
    constexpr int kSteps = 1024, kHalvings = 60;
    const double step = (end - x0) / kSteps;
    double in = x0, out = end;
    open = true;
    for (int k = 1; k <= kSteps; ++k) {
        const double x = k == kSteps ? end : x0 + step * k;
        if (!inside(x)) {
            out = x;
            open = false;
            break;
        }
        in = x;
    }
    if (open)
        return end;
    for (int k = 0; k < kHalvings; ++k) {
        const double middle = in + (out - in) / 2;
        (inside(middle) ? in : out) = middle;
    }
    return in;
}

} // namespace

std::optional<XForValue> xForValue(const CellTable& sdgCoefficients, int degree,
                                   const std::string& yText, const std::string& minText,
                                   const std::string& maxText, const BandBasis* basis) {
    const auto values = readCoefficients(sdgCoefficients, degree);
    if (!values)
        return std::nullopt;
    const Decimal y = exactly(yText, "f(x)");
    struct End {
        std::string text;
        Decimal value;
    };
    End low{minText, exactly(minText, "Min")}, high{maxText, exactly(maxText, "Max")};
    if (low.value.value() > high.value.value())
        std::swap(low, high);
    if (degree > kMaxRootDegree)
        throw EMathError("x for f(x) is found for degrees up to " + std::to_string(kMaxRootDegree) +
                         ".");
    std::vector<Decimal> coefficients;
    for (int k = 0; k <= degree; ++k)
        coefficients.push_back(exactly(sdgCoefficients.cell(1, k + 1),
                                       "Coefficient " + sdgCoefficients.cell(0, k + 1)));
    const ValueRoots roots = rootsOfValue(coefficients, y, low.value, high.value);
    XForValue answer;
    answer.everywhere = roots.everywhere;
    answer.level = basis ? basis->level : 0;
    const double t = basis ? tQuantile(basis->degreesOfFreedom, basis->level) : 0;
    const double yValue = StrToFloat(yText), lowValue = StrToFloat(low.text),
                 highValue = StrToFloat(high.text);
    for (const std::string& x : roots.xs) {
        XForValue::Root root;
        root.x = x;
        if (basis) {
            const double x0 = StrToFloat(x);
            root.low =
                FloatToStr(intervalEnd(*values, *basis, t, yValue, x0, lowValue, root.lowOpen), 6);
            root.high = FloatToStr(
                intervalEnd(*values, *basis, t, yValue, x0, highValue, root.highOpen), 6);
        }
        answer.roots.push_back(std::move(root));
    }
    return answer;
}

std::string xForValueText(const XForValue& answer, const std::string& yText) {
    const std::string y(Trim(yText));
    if (answer.everywhere)
        return "Every x gives f(x) = " + y + ".";
    if (answer.roots.empty())
        return "No x in the drawn range gives f(x) = " + y + ".";
    std::string text;
    for (const XForValue::Root& root : answer.roots) {
        text += (text.empty() ? "x = " : "; x = ") + root.x;
        if (!root.low.empty())
            text += " (" + FloatToStr(100 * answer.level) + " % interval " +
                    (root.lowOpen ? "below " : "") + root.low + " to " +
                    (root.highOpen ? "above " : "") + root.high + ")";
    }
    return text;
}
