#include "exact/interpolation.h"

#include "exact/residues.h"

#include <algorithm>

namespace {

// Newton's divided differences and their expansion, at `bits` of precision.
Floats newtonCoefficients(const std::vector<mpq_class>& xs, const std::vector<mpq_class>& ys,
                          mp_bitcnt_t bits) {
    const size_t n = xs.size();
    Floats x, differences; // differences[k] becomes f[x0, ..., xk]
    for (size_t k = 0; k < n; ++k) {
        x.emplace_back(xs[k], bits);
        differences.emplace_back(ys[k], bits);
    }
    mpf_class step(0, bits);
    for (size_t order = 1; order < n; ++order)
        for (size_t k = n - 1; k >= order; --k) {
            step = x[k] - x[k - order];
            differences[k] -= differences[k - 1];
            differences[k] /= step;
        }
    // Horner on the Newton form: p = d[n-1], then p = p * (x - x_k) + d[k].
    Floats coefficients(n, mpf_class(0, bits));
    if (n == 0)
        return coefficients;
    coefficients[0] = differences[n - 1];
    for (size_t k = n - 1; k-- > 0;) {
        // p * (x - xs[k]): shift up one power, less xs[k] times p.
        for (size_t power = n - 1 - k; power > 0; --power) {
            step = x[k] * coefficients[power];
            coefficients[power] = coefficients[power - 1] - step;
        }
        step = x[k] * coefficients[0];
        coefficients[0] = differences[k] - step;
    }
    return coefficients;
}

// The same, modulo a prime.
std::optional<std::vector<uint64_t>> newtonResidues(const std::vector<mpq_class>& xs,
                                                    const std::vector<mpq_class>& ys,
                                                    const PrimeField& field) {
    const size_t n = xs.size();
    std::vector<uint64_t> x, differences;
    for (size_t k = 0; k < n; ++k) {
        const auto xk = field.of(xs[k]), yk = field.of(ys[k]);
        if (!xk || !yk)
            return std::nullopt;
        x.push_back(*xk);
        differences.push_back(*yk);
    }
    std::vector<uint64_t> inverses(n);
    for (size_t order = 1; order < n; ++order) {
        // 1 / (x[k] - x[k - order]) for every k at once: one inverse of their
        // product, then three products each (Montgomery's trick).
        uint64_t product = 1;
        for (size_t k = order; k < n; ++k) {
            inverses[k] = product; // the product of the steps before k
            product = field.mul(product, field.sub(x[k], x[k - order]));
        }
        if (product == 0) // two x that differ share a residue
            return std::nullopt;
        uint64_t inverse = field.inverse(product); // of the steps up to k
        for (size_t k = n - 1; k >= order; --k) {
            const uint64_t step = field.sub(x[k], x[k - order]);
            inverses[k] = field.mul(inverse, inverses[k]);
            inverse = field.mul(inverse, step);
        }
        for (size_t k = n - 1; k >= order; --k)
            differences[k] = field.mul(field.sub(differences[k], differences[k - 1]), inverses[k]);
    }
    std::vector<uint64_t> coefficients(n, 0);
    if (n == 0)
        return coefficients;
    coefficients[0] = differences[n - 1];
    for (size_t k = n - 1; k-- > 0;) {
        for (size_t power = n - 1 - k; power > 0; --power)
            coefficients[power] =
                field.sub(coefficients[power - 1], field.mul(x[k], coefficients[power]));
        coefficients[0] = field.sub(differences[k], field.mul(x[k], coefficients[0]));
    }
    return coefficients;
}

} // namespace

std::optional<std::vector<Decimal>> interpolate(const std::vector<mpq_class>& xs,
                                                const std::vector<mpq_class>& ys) {
    const std::vector<bool> zeros = exactZeros(
        [&](const PrimeField& field) { return newtonResidues(xs, ys, field); }, xs.size());
    return settledCoefficients([&](mp_bitcnt_t bits) { return newtonCoefficients(xs, ys, bits); },
                               zeros);
}

std::vector<Decimal> valuesAt(const std::vector<Decimal>& coefficients,
                              const std::vector<Decimal>& xs) {
    std::vector<Decimal> values;
    if (coefficients.empty()) {
        values.resize(xs.size());
        return values;
    }
    const size_t n = coefficients.size() - 1;
    // Every x as X * 10^-m with the same m, and every coefficient as
    // C * 10^e with the same e; then p(x) * 10^(n m - e) is an integer that
    // Horner's rule forms from X and T_i = C_i * 10^((n - i) m).
    long m = 0, e = 0;
    for (const Decimal& x : xs)
        m = std::max(m, -x.exponent);
    for (const Decimal& c : coefficients)
        e = std::min(e, c.exponent);
    std::vector<mpz_class> terms(n + 1);
    for (size_t i = 0; i <= n; ++i)
        terms[i] =
            coefficients[i].digits * powerOfTen(coefficients[i].exponent - e + long(n - i) * m);
    mpz_class sum;
    for (const Decimal& x : xs) {
        const mpz_class scaled = x.digits * powerOfTen(x.exponent + m);
        sum = terms[n];
        for (size_t i = n; i-- > 0;) {
            sum *= scaled;
            sum += terms[i];
        }
        values.push_back({sum, e - long(n) * m}); // p(x) = sum * 10^(e - n m)
    }
    return values;
}
