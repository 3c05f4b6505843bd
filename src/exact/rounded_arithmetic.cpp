#include "exact/rounded_arithmetic.h"

#include "exact/exact_number.h"
#include "toolkit/arithmetic.h"
#include "toolkit/conversions.h"

#include <mpfr.h>

#include <charconv>

namespace {

// `value` to `precision` bits, ties to even, subnormal below `emin` and
// infinite from `emax` on, as MPFR counts exponents (a double: 53 bits,
// -1073, 1024).
mpq_class roundedBinary(const mpq_class& value, mpfr_prec_t precision, mpfr_exp_t emin,
                        mpfr_exp_t emax) {
    const mpfr_exp_t oldMin = mpfr_get_emin(), oldMax = mpfr_get_emax();
    mpfr_set_emin(emin);
    mpfr_set_emax(emax);
    mpfr_t rounded;
    mpfr_init2(rounded, precision);
    const int inexact = mpfr_set_q(rounded, value.get_mpq_t(), MPFR_RNDN);
    mpfr_subnormalize(rounded, inexact, MPFR_RNDN);
    mpfr_set_emin(oldMin);
    mpfr_set_emax(oldMax);
    const bool overflow = mpfr_inf_p(rounded) != 0;
    mpq_class result;
    if (!overflow)
        mpfr_get_q(result.get_mpq_t(), rounded);
    mpfr_clear(rounded);
    if (overflow)
        raiseMathError(kOverflow);
    return result;
}

} // namespace

Decimal roundedDecimal(const mpq_class& value, int digits, bool chopping) {
    if (sgn(value) == 0)
        return {};
    const long shift =
        long(digits) - 1 - decimalExponent(value); // value × 10^shift: `digits` whole digits
    mpq_class scaled = abs(value);
    if (shift >= 0)
        scaled *= powerOfTen(shift);
    else
        scaled /= powerOfTen(-shift);
    mpz_class whole;
    if (chopping) {
        mpz_tdiv_q(whole.get_mpz_t(), scaled.get_num_mpz_t(), scaled.get_den_mpz_t());
    } else { // half away from zero: floor(x + 1/2)
        const mpq_class half = scaled + mpq_class(1, 2);
        mpz_fdiv_q(whole.get_mpz_t(), half.get_num_mpz_t(), half.get_den_mpz_t());
    }
    if (whole == powerOfTen(digits)) { // 9.9995 to 4 digits: 10.00
        whole /= 10;
        return {sgn(value) < 0 ? mpz_class(-whole) : whole, 1 - shift};
    }
    return {sgn(value) < 0 ? mpz_class(-whole) : whole, -shift};
}

namespace {

// A value of `digits` significant digits (roundedDecimal) written with all
// of them, trailing zeros too, as the exercises write them: "10.00",
// "-104300", "0.0005670"; in powers of ten ("1.043E-7") where plain digits
// would run long.
std::string decimalText(const Decimal& value, int digits) {
    if (sgn(value.digits) == 0)
        return "0";
    const std::string mantissa = mpz_class(abs(value.digits)).get_str();
    const long exponent = value.exponent + long(mantissa.size()) - 1;
    // Appended piece by piece: GCC 12 warns falsely of "literal" + string here.
    std::string text = sgn(value.digits) < 0 ? "-" : "";
    if (exponent < -5 || exponent >= 15) {
        text += mantissa.substr(0, 1);
        if (digits > 1)
            text.append(".").append(mantissa.substr(1));
        text.append("E").append(IntToStr(int(exponent)));
    } else if (exponent >= digits - 1) {
        text.append(mantissa).append(size_t(exponent - digits + 1), '0');
    } else if (exponent >= 0) {
        text.append(mantissa.substr(0, size_t(exponent + 1)))
            .append(".")
            .append(mantissa.substr(size_t(exponent + 1)));
    } else {
        text.append("0.").append(size_t(-exponent - 1), '0').append(mantissa);
    }
    return text;
}

// An exact fraction as a decimal where 15 digits write it whole, as "2/3"
// where none do.
std::string exactText(const mpq_class& value) {
    const std::string decimal = roundedText(value);
    const auto read = exactDecimal(decimal);
    return read && read->value() == value ? decimal : value.get_str();
}

// The shortest text that reads back as the same double or float.
template <typename Binary> std::string shortestText(Binary value) {
    char text[32];
    return {text, std::to_chars(text, text + sizeof text, value).ptr};
}

} // namespace

std::string Arithmetic::name() const {
    switch (kind) {
    case Kind::exact:
        return "exact";
    case Kind::doubles:
        return "double";
    case Kind::singles:
        return "single";
    case Kind::decimal:
        break;
    }
    return IntToStr(digits) + "-digit " + (chopping ? "chopping" : "rounding");
}

mpq_class roundedIn(const Arithmetic& arithmetic, const mpq_class& value) {
    switch (arithmetic.kind) {
    case Arithmetic::Kind::exact:
        return value;
    case Arithmetic::Kind::doubles:
        return roundedBinary(value, 53, -1073, 1024);
    case Arithmetic::Kind::singles:
        return roundedBinary(value, 24, -148, 128);
    case Arithmetic::Kind::decimal:
        break;
    }
    return roundedDecimal(value, arithmetic.digits, arithmetic.chopping).value();
}

std::string writtenIn(const Arithmetic& arithmetic, const mpq_class& value) {
    switch (arithmetic.kind) {
    case Arithmetic::Kind::exact:
        return exactText(value);
    case Arithmetic::Kind::doubles:
        return shortestText(value.get_d());
    case Arithmetic::Kind::singles:
        return shortestText(float(value.get_d()));
    case Arithmetic::Kind::decimal:
        break;
    }
    return decimalText(roundedDecimal(value, arithmetic.digits, arithmetic.chopping),
                       arithmetic.digits);
}
