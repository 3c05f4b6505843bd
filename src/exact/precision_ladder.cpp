#include "exact/precision_ladder.h"

#include <algorithm>

std::optional<std::vector<Decimal>>
settledCoefficients(const std::function<Floats(mp_bitcnt_t bits)>& coefficientsAt) {
    const mpq_class agreement(1, powerOfTen(30));
    for (mp_bitcnt_t bits = 128; bits <= kMaxPrecision; bits *= 2) {
        // 64 bits more take the error down by 2^64: when the two agree to 30
        // digits, the higher is good to more than 48.
        const Floats lower = coefficientsAt(bits);
        const Floats higher = coefficientsAt(bits + 64);
        if (lower.size() != higher.size())
            return std::nullopt;
        std::vector<mpq_class> values; // a binary float is a fraction exactly
        mpq_class scale, gap;
        for (size_t k = 0; k < higher.size(); ++k) {
            values.emplace_back(higher[k]);
            scale = std::max(scale, mpq_class(abs(values.back())));
            gap = std::max(gap, mpq_class(abs(values.back() - mpq_class(lower[k]))));
        }
        if (gap <= agreement * scale) {
            const long quantum = sgn(scale) == 0 ? 0 : decimalExponent(scale) - 40;
            std::vector<Decimal> coefficients;
            for (const mpq_class& value : values)
                coefficients.push_back(roundedTo(value, quantum));
            return coefficients;
        }
    }
    return std::nullopt;
}
