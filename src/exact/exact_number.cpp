#include "exact/exact_number.h"

#include <cmath>

#include "toolkit/conversions.h"
#include "toolkit/number_grammar.h"

#include <algorithm>

namespace {

// numerator / denominator (denominator > 0) rounded to the nearest integer,
// ties to the even one.
mpz_class nearestQuotient(const mpz_class& numerator, const mpz_class& denominator) {
    mpz_class quotient, remainder;
    mpz_fdiv_qr(quotient.get_mpz_t(), remainder.get_mpz_t(), numerator.get_mpz_t(),
                denominator.get_mpz_t());
    const int half = cmp(mpz_class(2 * remainder), denominator);
    if (half > 0 || (half == 0 && mpz_odd_p(quotient.get_mpz_t())))
        ++quotient;
    return quotient;
}

// The text of `kept`, `digits` significant digits or one more when rounding
// carried (9.99..5 up to 10.0..), whose first digit stands for 10^exponent.
std::string significantText(bool negative, const mpz_class& kept, long exponent, int digits) {
    std::string text = kept.get_str();
    if (text.size() > size_t(digits)) {
        text.pop_back();
        ++exponent;
    }
    return decimalText(negative, text, int(exponent));
}

} // namespace

mpz_class powerOfTen(long exponent) {
    mpz_class power;
    mpz_ui_pow_ui(power.get_mpz_t(), 10, static_cast<unsigned long>(exponent));
    return power;
}

mpq_class Decimal::value() const {
    if (exponent >= 0)
        return mpq_class(digits * powerOfTen(exponent));
    mpq_class fraction(digits, powerOfTen(-exponent));
    fraction.canonicalize();
    return fraction;
}

std::optional<Decimal> exactDecimal(std::string_view text) {
    const NumberParts parts = scanNumber(stripSpaces(text));
    if (!parts.valid)
        return std::nullopt;
    const bool negative = parts.negative;
    const std::string_view integer = parts.integerDigits, fraction = parts.fractionDigits;
    const long exponent = parts.exponent;

    std::string digits = std::string(integer) + std::string(fraction);
    const size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return Decimal{};
    digits.erase(0, first);
    const size_t last = digits.find_last_not_of('0');
    const long trailingZeros = long(digits.size() - last - 1); // they go into the exponent
    digits.erase(last + 1);
    const long scale = exponent - long(fraction.size()) + trailingZeros;
    const long leading = scale + long(digits.size()) - 1;
    if (digits.size() > size_t(kMaxExactDigits) || std::abs(leading) > kMaxExactExponent)
        return std::nullopt;
    const mpz_class magnitude(digits, 10);
    return Decimal{negative ? mpz_class(-magnitude) : magnitude, scale};
}

long decimalExponent(const mpq_class& value) {
    const mpq_class magnitude = abs(value);
    // A first guess from the sizes in bits, then corrected by comparison.
    const long bits = long(mpz_sizeinbase(magnitude.get_num_mpz_t(), 2)) -
                      long(mpz_sizeinbase(magnitude.get_den_mpz_t(), 2));
    long exponent = long(double(bits) * 0.30102999566398120);
    const auto tenTo = [](long e) {
        return e >= 0 ? mpq_class(powerOfTen(e)) : mpq_class(1, powerOfTen(-e));
    };
    while (tenTo(exponent) > magnitude)
        --exponent;
    while (tenTo(exponent + 1) <= magnitude)
        ++exponent;
    return exponent;
}

Decimal roundedTo(const mpq_class& value, long exponent) {
    mpq_class scaled = value;
    if (exponent <= 0)
        scaled *= powerOfTen(-exponent);
    else
        scaled /= powerOfTen(exponent);
    return {nearestQuotient(scaled.get_num(), scaled.get_den()), exponent};
}

std::string roundedText(const mpq_class& value, int digits) {
    if (sgn(value) == 0)
        return "0";
    const long exponent = decimalExponent(value);
    const Decimal rounded = roundedTo(value, exponent - digits + 1);
    return significantText(sgn(value) < 0, abs(rounded.digits), exponent, digits);
}

namespace {

// a and b as integers times the same power of ten, the smaller exponent.
std::pair<mpz_class, mpz_class> aligned(const Decimal& a, const Decimal& b) {
    const long exponent = std::min(a.exponent, b.exponent);
    return {a.digits * powerOfTen(a.exponent - exponent),
            b.digits * powerOfTen(b.exponent - exponent)};
}

} // namespace

std::vector<mpq_class> valuesOf(const std::vector<Decimal>& decimals) {
    std::vector<mpq_class> values;
    values.reserve(decimals.size());
    for (const Decimal& decimal : decimals)
        values.push_back(decimal.value());
    return values;
}

Decimal operator-(const Decimal& a, const Decimal& b) {
    const auto [x, y] = aligned(a, b);
    return {x - y, std::min(a.exponent, b.exponent)};
}

int compareMagnitude(const Decimal& a, const Decimal& b) {
    const auto [x, y] = aligned(a, b);
    const int order = mpz_cmpabs(x.get_mpz_t(), y.get_mpz_t());
    return (order > 0) - (order < 0);
}

std::string roundedText(const Decimal& value, int digits) {
    if (sgn(value.digits) == 0)
        return "0";
    const mpz_class magnitude = abs(value.digits);
    long length = long(mpz_sizeinbase(magnitude.get_mpz_t(), 10)); // exact, or one too many
    if (magnitude < powerOfTen(length - 1))
        --length;
    const long exponent = value.exponent + length - 1; // of the first digit
    const mpz_class kept =
        length > digits ? nearestQuotient(magnitude, powerOfTen(length - digits)) : magnitude;
    return significantText(sgn(value.digits) < 0, kept, exponent, digits);
}

std::string wholeText(const Decimal& value) {
    return value.digits.get_str() + "e" + std::to_string(value.exponent);
}

Decimal fromWholeText(std::string_view text) {
    const size_t e = text.find('e');
    return {mpz_class(std::string(text.substr(0, e)), 10),
            std::stol(std::string(text.substr(e + 1)))};
}

std::string squareRootText(const mpq_class& value, int digits) {
    if (sgn(value) <= 0)
        return "0";
    // sqrt(value) = root * 10^shift, root with `digits` digits before the point.
    const long magnitude = decimalExponent(value);
    const long shift = (magnitude >= 0 ? magnitude / 2 : -((1 - magnitude) / 2)) - (digits - 1);
    const mpq_class scaled = shift >= 0 ? mpq_class(value / mpq_class(powerOfTen(2 * shift)))
                                        : mpq_class(value * mpq_class(powerOfTen(-2 * shift)));
    mpz_class root = scaled.get_num() / scaled.get_den(); // floor: sqrt(floor q) = floor(sqrt q)
    mpz_sqrt(root.get_mpz_t(), root.get_mpz_t());
    // Round by where the root stands beside root + 1/2: (root + 1/2)² = root² + root + 1/4.
    const int side = cmp(scaled - mpq_class(root * root + root) - mpq_class(1, 4), 0);
    if (side > 0 || (side == 0 && mpz_odd_p(root.get_mpz_t())))
        ++root;
    return roundedText(Decimal{root, shift}, digits);
}

int digitsKept(const mpq_class& relativeError, int most) {
    if (sgn(relativeError) == 0)
        return most;
    const double error = mpq_class(abs(relativeError)).get_d();
    return error >= 1 ? 0 : std::min(most, int(std::floor(-std::log10(error))));
}
