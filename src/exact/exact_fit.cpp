#include "exact/exact_fit.h"

#include "exact/exact_number.h"
#include "exact/interpolation.h"
#include "exact/least_squares.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/number_grammar.h"
#include "toolkit/packed_table.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <numeric>

struct ExactFit::Numbers {
    virtual ~Numbers() = default;
    // The points' part of a comparison, after the coefficients'; whether a
    // point is off.
    virtual bool comparePoints(const std::vector<Decimal>& shown, FitComparison& result) const = 0;

    // Packed: least squares may hold 100,000 of them; shared with the reading
    // of the points and with undo.
    std::shared_ptr<const PackedTable> points;
    std::vector<int> rows;               // of each point
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

// A number's text to the nearest long double, by the number grammar and
// not the user's locale, which would stop "1.5" at a decimal comma's place.
long double nearValue(std::string_view text) {
    const NumberParts parts = scanNumber(stripSpaces(text));
    // Up to 19 digits times a power of ten up to 10^27 are both exact in
    // 64 bits, so one product or quotient rounds correctly, as the library's
    // reading does at many times the cost.
    static const auto tens = [] {
        std::array<long double, 28> powers{1};
        for (size_t k = 1; k < powers.size(); ++k)
            powers[k] = powers[k - 1] * 10;
        return powers;
    }();
    uint64_t digits = 0;
    int significant = 0;
    for (const std::string_view part : {parts.integerDigits, parts.fractionDigits})
        for (const char c : part) {
            significant += significant > 0 || c != '0';
            digits = digits * 10 + uint64_t(c - '0');
        }
    const long exponent = parts.exponent - long(parts.fractionDigits.size());
    long double value = 0;
    if (significant <= 19 && exponent >= -27 && exponent <= 27) {
        value = exponent >= 0 ? (long double)digits * tens[size_t(exponent)]
                              : (long double)digits / tens[size_t(-exponent)];
    } else {
        std::from_chars(parts.unsignedText.data(),
                        parts.unsignedText.data() + parts.unsignedText.size(), value);
    }
    return parts.negative ? -value : value;
}

// The span of decimal places that `values` cover, from the lowest digit of
// the finest to the highest of the widest.
long placesSpanned(const std::vector<Decimal>& values) {
    long lowest = 0, highest = 0;
    for (const Decimal& value : values) {
        lowest = std::min(lowest, value.exponent);
        highest =
            std::max(highest, long(mpz_sizeinbase(value.digits.get_mpz_t(), 10)) + value.exponent);
    }
    return highest - lowest;
}

// How many digits the exact values of a polynomial of `degree` with these
// coefficients at these x run to at the most: valuesAt writes every x with
// the exponent of the finest and every coefficient with that of the finest,
// and the value has `degree` powers of x. The shown coefficients may spread
// over as many places more as the exact reader takes.
size_t valueDigits(const std::vector<Decimal>& xs, const std::vector<Decimal>& coefficients,
                   int degree) {
    return size_t(std::max(degree, 1)) * size_t(std::max(placesSpanned(xs), 1L)) +
           size_t(placesSpanned(coefficients) + 2 * (kMaxExactDigits + kMaxExactExponent));
}

// An exact value as its 15-digit text stands for, kept as a decimal: the text
// itself may lie beyond what the exact reader takes back (1E-422, say).
Decimal writtenTo15(const mpq_class& value) {
    return sgn(value) == 0 ? Decimal{} : roundedTo(value, decimalExponent(value) - 14);
}

// A point of the table as the check lists it, before its values.
PointCheck pointAt(const PackedTable& points, int row) {
    return {std::string(stripSpaces(points.cell(0, row))),
            std::string(stripSpaces(points.cell(1, row))),
            "",
            "",
            false,
            row};
}

// R² = 1 - squared error / total squares, or "-" when every f(x) is the
// same. `digits` at the least, and more where they would read 1 of an R²
// that is not: a fit that is not perfect never looks it.
std::string rSquared(const mpq_class& squaredError, const mpq_class& total, int digits) {
    if (sgn(total) == 0)
        return "-";
    const mpq_class r2 = 1 - squaredError / total;
    for (; digits <= 15; ++digits)
        if (const std::string text = roundedText(r2, digits); text != "1" || r2 == 1)
            return text;
    return "1 - " + roundedText(1 - r2, 3);
}

// The significant digits a number's text shows: from its first digit that
// is not 0 to its last digit before any exponent.
std::string significantDigits(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (c == 'e' || c == 'E')
            break;
        if (c >= '0' && c <= '9' && (!digits.empty() || c != '0'))
            digits += c;
    }
    return digits;
}

// How many of the significant digits of `text` (whose value is `shown`),
// from the first, are those of `exact` rounded to as many digits.
int agreeingDigits(std::string_view text, const Decimal& shown, const mpq_class& exact) {
    const std::string digits = significantDigits(text);
    if (digits.empty())
        return 0;
    // The place of the text's last digit; trailing zeros are in its exponent.
    const long last =
        shown.exponent - long(digits.size() - mpz_class(abs(shown.digits)).get_str().size());
    const mpz_class atLast = roundedTo(exact, last).digits;
    const std::string exactDigits = mpz_class(abs(atLast)).get_str();
    if (sgn(atLast) != sgn(shown.digits) || exactDigits.size() != digits.size())
        return 0;
    return int(std::mismatch(digits.begin(), digits.end(), exactDigits.begin()).first -
               digits.begin());
}

} // namespace

namespace {

// Each point's residual, f(x) less the shown polynomial at x: in 64-bit
// floating point where its error bound leaves more than the six digits
// shown, and exactly where it does not.
class Residuals {
  public:
    Residuals(const std::vector<Decimal>& shown, std::shared_ptr<const PackedTable> points,
              std::vector<int> rows)
        : shown(shown), points(std::move(points)), rows(std::move(rows)) {
        for (const Decimal& value : shown)
            c.push_back(nearValue(roundedText(value, 21)));
    }

    size_t size() const { return rows.size(); }
    // The point with the largest residual, and its magnitude in six digits.
    std::optional<std::pair<size_t, std::string>> largest() const;
    // The point as the check lists it, its values in six digits.
    PointCheck check(size_t k) const;

  private:
    struct Near {
        long double value, residual;
        bool trusted; // within the bound
    };
    Near near(size_t k) const;
    // value and residual exactly.
    std::pair<Decimal, Decimal> exactly(size_t k) const;

    std::vector<Decimal> shown;
    std::vector<long double> c;
    std::shared_ptr<const PackedTable> points;
    std::vector<int> rows;
};

Residuals::Near Residuals::near(size_t k) const {
    const long double unit = 0x1p-63L;
    const size_t n = c.size() - 1;
    const long double x = nearValue(points->cell(0, rows[k])),
                      fx = nearValue(points->cell(1, rows[k]));
    long double value = c[n], size = std::fabs(c[n]);
    for (size_t i = n; i-- > 0;) {
        value = value * x + c[i];
        size = size * std::fabs(x) + std::fabs(c[i]);
    }
    const long double residual = fx - value;
    const long double bound =
        (3 * n + 4) * unit * size + 2 * unit * (std::fabs(fx) + std::fabs(residual));
    return {value, residual,
            bound <= 1e-8L * std::fabs(residual) && bound <= 1e-8L * std::fabs(value) &&
                std::fabs(value) < DBL_MAX && std::fabs(residual) > DBL_MIN};
}

std::pair<Decimal, Decimal> Residuals::exactly(size_t k) const {
    const Decimal value = valuesAt(shown, {*exactDecimal(points->cell(0, rows[k]))})[0];
    return {value, *exactDecimal(points->cell(1, rows[k])) - value};
}

PointCheck Residuals::check(size_t k) const {
    PointCheck point = pointAt(*points, rows[k]);
    if (const Near got = near(k); got.trusted) {
        point.shownValue = FloatToStr(double(got.value), 6);
        point.miss = FloatToStr(double(got.residual), 6);
    } else {
        const auto [value, residual] = exactly(k);
        point.shownValue = roundedText(value, 6);
        point.miss = roundedText(residual, 6);
    }
    return point;
}

std::optional<std::pair<size_t, std::string>> Residuals::largest() const {
    std::optional<size_t> at;
    long double magnitude = -1;
    std::vector<size_t> untrusted;
    for (size_t k = 0; k < rows.size(); ++k) {
        const Near got = near(k);
        if (!got.trusted)
            untrusted.push_back(k);
        else if (std::fabs(got.residual) > magnitude)
            magnitude = std::fabs(got.residual), at = k;
    }
    std::vector<Decimal> exactXs;
    for (const size_t k : untrusted)
        exactXs.push_back(*exactDecimal(points->cell(0, rows[k])));
    const std::vector<Decimal> values = valuesAt(shown, exactXs);
    for (size_t j = 0; j < untrusted.size(); ++j) {
        const Decimal residual = *exactDecimal(points->cell(1, rows[untrusted[j]])) - values[j];
        if (const long double size = std::fabs(residual.value().get_d()); size > magnitude)
            magnitude = size, at = untrusted[j];
    }
    if (!at)
        return std::nullopt;
    const std::string text = check(*at).miss;
    return std::pair{*at, text.starts_with('-') ? text.substr(1) : text};
}

// Through the points: the one polynomial through them, each point compared.
struct Interpolation final : ExactFit::Numbers {
    explicit Interpolation(const CellTable& sgdResult);
    bool comparePoints(const std::vector<Decimal>& shown, FitComparison& result) const override;

    std::vector<Decimal> xs, fxs;
};

// Least squares: the polynomial of a degree nearest the points, from their
// exact sums.
struct Nearest final : ExactFit::Numbers {
    Nearest(const std::shared_ptr<const SummedPoints>& summed, size_t pointCount, int degree,
            const HeldValues& heldValues);
    bool comparePoints(const std::vector<Decimal>& shown, FitComparison& result) const override;
    // How well the shown and the exact polynomial fit the points.
    FitStatistics statistics(const std::vector<Decimal>& shown, const Residuals* residuals) const;
    // The exact fit's degrees of freedom, residual standard deviation,
    // adjusted R², standard errors and t values, into `statistics`.
    void uncertainty(const mpq_class& squaredError, const mpq_class& total,
                     FitStatistics& statistics) const;

    int degree;
    HeldCoefficients held;
    std::optional<PointSums> sums;
    mpq_class lowestX, highestX;
};

Interpolation::Interpolation(const CellTable& sgdResult) {
    points = PackedTable::sharedPoints(sgdResult);
    const int throughDegree = sgdResult.rowCount() - 2;
    for (int row = 1; row < sgdResult.rowCount(); ++row) {
        for (const int col : {0, 1}) {
            const auto value = exactDecimal(sgdResult.cell(col, row));
            if (!value) {
                noFit = {NoExactFit::Why::unreadPoint,
                         throughDegree,
                         {row},
                         col,
                         sgdResult.cell(col, row)};
                unchecked = true;
                return;
            }
            (col == 0 ? xs : fxs).push_back(*value);
        }
        rows.push_back(row);
    }
    const std::vector<mpq_class> xValues = valuesOf(xs), fxValues = valuesOf(fxs);
    if (const std::vector<int> shared = rowsSharingAnX(xValues); !shared.empty()) {
        noFit = {NoExactFit::Why::sharedX, throughDegree, shared, 0,
                 std::string(stripSpaces(sgdResult.cell(0, shared[0])))};
        return;
    }
    const auto tooLong = [&](const std::vector<Decimal>& solved) {
        const size_t digits = valueDigits(xs, solved, throughDegree);
        // Each Horner step multiplies the value so far by an x: in 64-bit
        // words, about 19 digits each.
        const double words = double(digits) / 19 * std::max(1.0, double(placesSpanned(xs)) / 19);
        if (words * std::max(throughDegree, 1) * double(xs.size()) <= kMaxEvaluationWork)
            return false;
        noFit = {NoExactFit::Why::tooLong, throughDegree, {}, 0, "", digits};
        unchecked = true;
        return true;
    };
    if (tooLong({}))
        return;
    if (const auto solved = interpolate(xValues, fxValues)) {
        if (tooLong(*solved))
            return;
        coefficients = valuesOf(*solved);
    } else {
        noFit = {NoExactFit::Why::unsettled, throughDegree, {}, 0, ""};
        unchecked = true;
    }
}

Nearest::Nearest(const std::shared_ptr<const SummedPoints>& summed, size_t pointCount, int degree,
                 const HeldValues& heldValues)
    : degree(degree) {
    for (const auto& [power, text] : heldValues)
        if (power <= size_t(degree))
            held[power] = exactDecimal(text).value();
    points = summed->table;
    if (summed->tooMuchWork) {
        noFit = {NoExactFit::Why::tooManySums, degree, {}, 0, "", pointCount};
        unchecked = true;
        return;
    }
    if (summed->unread) {
        const auto [row, col] = *summed->unread;
        noFit = {NoExactFit::Why::unreadPoint,
                 degree,
                 {row},
                 col,
                 std::string(summed->table->cell(col, row))};
        unchecked = true;
        return;
    }
    rows = summed->rows;
    if (summed->distinctXs < size_t(degree) + 1 - held.size()) {
        noFit = {NoExactFit::Why::fewDistinctX, degree, {}, 0, "", summed->distinctXs};
        return;
    }
    sums = *summed->sums;
    lowestX = summed->lowestX;
    highestX = summed->highestX;
    if (const auto solved = leastSquares(*sums, held)) {
        coefficients = valuesOf(*solved);
    } else {
        noFit = {NoExactFit::Why::unsettled, degree, {}, 0, ""};
        unchecked = true;
    }
}

} // namespace

ExactFit::ExactFit(std::unique_ptr<Numbers> fit) : numbers(std::move(fit)) {}

ExactFit::ExactFit(const CellTable& sgdResult)
    : ExactFit(std::make_unique<Interpolation>(sgdResult)) {}

ExactFit ExactFit::nearest(const CellTable& sgdResult, std::vector<int> rows, int degree,
                           const HeldValues& held) {
    return nearest(summedPoints(sgdResult, rows, degree), rows.size(), degree, held);
}

ExactFit ExactFit::nearest(const std::shared_ptr<const SummedPoints>& summed, size_t points,
                           int degree, const HeldValues& held) {
    return ExactFit(std::make_unique<Nearest>(summed, points, degree, held));
}

ExactFit::ExactFit(ExactFit&&) noexcept = default;
ExactFit& ExactFit::operator=(ExactFit&&) noexcept = default;
ExactFit::~ExactFit() = default;

bool ExactFit::madeFrom(const CellTable& sgdResult) const {
    return numbers->points && numbers->points->holds(sgdResult);
}

std::shared_ptr<const PackedTable> ExactFit::points() const {
    return numbers->points;
}

std::vector<Decimal> ExactFit::compareCoefficients(const CellTable& sdgCoefficients,
                                                   FitComparison& result) const {
    const Numbers& fit = *numbers;
    mpq_class scale;
    for (const mpq_class& c : fit.coefficients)
        scale = std::max(scale, mpq_class(abs(c)));
    result.largestExact = roundedText(scale, 6);
    const int count = std::min(int(fit.coefficients.size()), sdgCoefficients.rowCount() - 1);
    std::vector<Decimal> shown;
    mpq_class worstDifference; // the largest, against the largest exact coefficient
    bool allWritten = true;    // every shown value is its exact one to 15 digits
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
        allWritten = allWritten && shownValue == writtenTo15(fit.coefficients[k]).value();
        const mpq_class difference = shownValue - fit.coefficients[k];
        const mpq_class bound = std::max(scale, mpq_class(abs(shownValue)));
        const bool off = abs(difference) > kAgreement * bound;
        result.coefficients.push_back({letter, text, exact, roundedText(difference), off,
                                       int(significantDigits(text).size()),
                                       agreeingDigits(text, *value, fit.coefficients[k])});
        result.coefficientsOff = result.coefficientsOff || off;
        if (sgn(difference) != 0 && abs(difference) > abs(worstDifference)) {
            worstDifference = difference;
            result.worstCoefficient = size_t(k);
        }
    }
    result.exactWritten = !result.unreadable && allWritten;
    result.worstDifference = magnitudeText(worstDifference);
    result.digitsKept = sgn(worstDifference) == 0 ? 15
                        : sgn(scale) == 0         ? 0
                                                  : digitsKept(abs(worstDifference) / scale);

    return shown;
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

    const std::vector<Decimal> shown = compareCoefficients(sdgCoefficients, result);
    const bool pointsOff = fit.comparePoints(shown, result);
    result.verdict = result.unreadable || result.coefficientsOff || pointsOff
                         ? FitComparison::Verdict::off
                         : FitComparison::Verdict::agrees;
    return result;
}

bool Interpolation::comparePoints(const std::vector<Decimal>& shown, FitComparison& result) const {
    if (result.unreadable) {
        for (const int row : rows)
            result.points.push_back(pointAt(*points, row));
        return false;
    }
    // The shown polynomial at each point against f(x), as decimals: exact,
    // and fast to round however long they get. A point is off when it misses
    // by more than the tolerance beyond what the exact fit, written to 15
    // digits, misses by there: at a high degree no 15 digits pass closer.
    const auto& fit = *this;
    Decimal largestFx;
    for (const Decimal& fx : fit.fxs)
        if (compareMagnitude(fx, largestFx) > 0)
            largestFx = fx;
    std::vector<Decimal> written;
    for (const mpq_class& c : fit.coefficients)
        written.push_back(writtenTo15(c));
    const std::vector<Decimal> shownAtX = valuesAt(shown, fit.xs),
                               writtenAtX = valuesAt(written, fit.xs);
    const mpq_class tolerance =
        Decimal{largestFx.digits, largestFx.exponent - kAgreementDigits}.value();
    Decimal worstMiss;
    bool pointsOff = false;
    for (size_t k = 0; k < fit.xs.size(); ++k) {
        PointCheck point = pointAt(*fit.points, fit.rows[k]);
        const Decimal miss = shownAtX[k] - fit.fxs[k];
        point.shownValue = roundedText(shownAtX[k]);
        point.miss = roundedText(miss);
        point.off = abs(miss.value()) > abs((writtenAtX[k] - fit.fxs[k]).value()) + tolerance;
        pointsOff = pointsOff || point.off;
        if (sgn(miss.digits) != 0 &&
            (!result.worstPoint || compareMagnitude(miss, worstMiss) > 0)) {
            result.worstPoint = k;
            worstMiss = miss;
        }
        result.points.push_back(point);
    }
    result.worstMiss = roundedText(Decimal{abs(worstMiss.digits), worstMiss.exponent}, 6);
    return pointsOff;
}

void Nearest::uncertainty(const mpq_class& squaredError, const mpq_class& total,
                          FitStatistics& statistics) const {
    const long points = long(sums->count),
               freedom = points - long(coefficients.size() - held.size());
    statistics.degreesOfFreedom = freedom;
    const auto diagonal = freedom > 0 && degree <= kMaxUncertaintyDegree
                              ? inverseDiagonal(*sums, held)
                              : std::nullopt;
    statistics.residualSd = statistics.lineSd = statistics.adjustedR2 = "-";
    statistics.standardErrors.assign(coefficients.size(), "-");
    statistics.tValues.assign(coefficients.size(), "-");
    if (freedom <= 0)
        return;
    const mpq_class variance = squaredError / mpq_class(freedom);
    statistics.residualSd = squareRootText(variance);
    statistics.lineSd = squareRootText(variance, 6);
    // The total's own degrees of freedom: one fewer about the mean.
    const long totalFreedom = held.contains(0) ? points : points - 1;
    statistics.adjustedR2 = rSquared(variance * mpq_class(totalFreedom), total, 15);
    if (degree <= kMaxUncertaintyDegree) {
        const mpq_class center = (lowestX + highestX) / 2, half = (highestX - lowestX) / 2;
        statistics.bandSd = std::sqrt(variance.get_d());
        statistics.bandCenter = center.get_d();
        statistics.bandScale = sgn(half) == 0 ? 1 : half.get_d();
        statistics.bandInverse = centredInverse(*sums, center, sgn(half) == 0 ? 1 : half, held);
    }
    for (size_t k = 0; diagonal && k < coefficients.size(); ++k) {
        if (held.contains(k))
            continue; // "-": a held value has no error
        const mpq_class spread = variance * (*diagonal)[k].value();
        statistics.standardErrors[k] = squareRootText(spread);
        if (sgn(spread) != 0) {
            const std::string t = squareRootText(coefficients[k] * coefficients[k] / spread);
            statistics.tValues[k] = (sgn(coefficients[k]) < 0 ? "-" : "") + t;
        }
    }
}

bool Nearest::comparePoints(const std::vector<Decimal>& shown, FitComparison& result) const {
    if (result.unreadable)
        return false;
    std::shared_ptr<const Residuals> residuals;
    if (points) {
        residuals = std::make_shared<const Residuals>(shown, points, rows);
        result.points =
            PointChecks(rows.size(), [residuals](size_t k) { return residuals->check(k); });
    }
    result.statistics = statistics(shown, residuals.get());
    return false;
}

FitStatistics Nearest::statistics(const std::vector<Decimal>& shown,
                                  const Residuals* residuals) const {
    const auto& fit = *this;
    FitStatistics statistics;
    statistics.points = fit.sums->count;
    const std::vector<mpq_class> shownValues = valuesOf(shown);
    const mpq_class total = held.contains(0) ? fit.sums->squares.value() : totalSquares(*fit.sums);
    const mpq_class shownError = squaredError(*fit.sums, shownValues);
    const mpq_class exactError = squaredError(*fit.sums, fit.coefficients);
    statistics.shownSquares = roundedText(shownError);
    statistics.exactSquares = roundedText(exactError);
    statistics.shownR2 = rSquared(shownError, total, 15);
    statistics.exactR2 = rSquared(exactError, total, 15);
    statistics.lineR2 = rSquared(shownError, total, 6);
    const mpq_class meanSquare = shownError / mpq_class(long(std::max<size_t>(fit.sums->count, 1)));
    statistics.shownRms = squareRootText(meanSquare, 15);
    statistics.lineRms = squareRootText(meanSquare, 6);

    uncertainty(exactError, total, statistics);

    if (const auto largest = residuals ? residuals->largest() : std::nullopt) {
        statistics.largest = largest->first;
        statistics.largestResidual = largest->second;
    }
    return statistics;
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
