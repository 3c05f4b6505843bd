#include "exact/precision_ladder.h"

std::optional<std::vector<Decimal>>
settledCoefficients(const std::function<Floats(mp_bitcnt_t bits)>& coefficientsAt,
                    const std::vector<bool>& exactlyZero) {
    const mpq_class agreement(1, powerOfTen(30));
    for (mp_bitcnt_t bits = 128; bits <= kMaxPrecision; bits *= 2) {
        // 64 bits more take the error down by 2^64: when the two agree to 30
        // digits, the higher is good to more than 48.
        const Floats lower = coefficientsAt(bits);
        const Floats higher = coefficientsAt(bits + 64);
        if (lower.size() != higher.size() || higher.size() != exactlyZero.size())
            return std::nullopt;
        std::vector<Decimal> coefficients;
        for (size_t k = 0; k < higher.size(); ++k) {
            if (exactlyZero[k]) {
                coefficients.emplace_back();
                continue;
            }
            const mpq_class value(higher[k]), gap = value - mpq_class(lower[k]);
            if (sgn(value) == 0 || abs(gap) > agreement * abs(value))
                break;
            coefficients.push_back(roundedTo(value, decimalExponent(value) - 40));
        }
        if (coefficients.size() == higher.size())
            return coefficients;
    }
    return std::nullopt;
}
