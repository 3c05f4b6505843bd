#include "exact/rounded_numbers.h"

#include "exact/exact_number.h"

#include <algorithm>
#include <bit>

DecimalWord DecimalNumbers::from(const mpq_class& value) const {
    // A decimal whose digits fit a word, as a fit's system is written,
    // without a fraction's division: n ÷ (2^a 5^b) is n 2^(c-a) 5^(c-b) ÷
    // 10^c, c the larger of a and b.
    if (mpz_fits_slong_p(value.get_num_mpz_t())) {
        const auto twos = long(mpz_scan1(value.get_den_mpz_t(), 0));
        mpz_class rest;
        mpz_tdiv_q_2exp(rest.get_mpz_t(), value.get_den_mpz_t(), mp_bitcnt_t(twos));
        const auto fives =
            rest == 1
                ? 0L
                : long(mpz_remove(rest.get_mpz_t(), rest.get_mpz_t(), mpz_class(5).get_mpz_t()));
        const long places = std::max(twos, fives);
        using decimal_words::Wide;
        if (rest == 1 && places - twos < 64 && places - fives <= 27) {
            const Wide scale = (Wide(1) << (places - twos)) *
                               (decimal_words::kPowers[size_t(places - fives)] >> (places - fives));
            if (scale >> 64 == 0)
                return rounded(__int128(mpz_get_si(value.get_num_mpz_t())) * __int128(scale),
                               -places);
        }
    }
    // A whole number of more digits, its trailing zeros apart.
    if (value.get_den() == 1) {
        mpz_class digits;
        const long zeros =
            long(mpz_remove(digits.get_mpz_t(), value.get_num_mpz_t(), mpz_class(10).get_mpz_t()));
        if (mpz_fits_slong_p(digits.get_mpz_t()))
            return rounded(__int128(digits.get_si()), zeros);
    }
    const Decimal decimal = roundedDecimal(value, k, chopping);
    return {decimal.digits.get_si(), sgn(decimal.digits) == 0 ? 0 : decimal.exponent};
}

mpq_class DecimalNumbers::exact(const DecimalWord& value) {
    return Decimal{mpz_class(long(value.digits)), long(value.exponent)}.value();
}

DecimalWord DecimalNumbers::divide(const DecimalWord& a, const DecimalWord& b) const {
    if (a.digits == 0)
        return {};
    // k + 1 or k + 2 digits of the quotient: the rest never changes a chop
    // or a rounding half away from zero.
    using namespace decimal_words;
    const Wide dividend = Wide(std::llabs(a.digits)) * kPowers[size_t(k + 1)];
    const auto quotient = __int128(divided(dividend, Wide(std::llabs(b.digits))).first);
    return rounded((a.digits < 0) != (b.digits < 0) ? -quotient : quotient,
                   a.exponent - b.exponent - (k + 1));
}
