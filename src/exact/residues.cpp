#include "exact/residues.h"

#include <array>

namespace {

// Three primes just below 2^62, found once: a solve modulo a prime that
// divides one of its denominators is dropped, and the next is tried.
const std::array<uint64_t, 6>& primes() {
    static const std::array<uint64_t, 6> found = [] {
        std::array<uint64_t, 6> list{};
        mpz_class candidate = (mpz_class(1) << 62) - (mpz_class(1) << 40);
        for (uint64_t& prime : list) {
            mpz_nextprime(candidate.get_mpz_t(), candidate.get_mpz_t());
            prime = candidate.get_ui();
            candidate += mpz_class(1) << 36; // the next one stands well apart
        }
        return list;
    }();
    return found;
}

constexpr size_t kPrimesAgreeing = 3;

} // namespace

uint64_t PrimeField::inverse(uint64_t a) const {
    // a^(p - 2) by squaring: p is prime.
    uint64_t result = 1, base = a;
    for (uint64_t e = p - 2; e; e >>= 1) {
        if (e & 1)
            result = mul(result, base);
        base = mul(base, base);
    }
    return result;
}

std::optional<uint64_t> PrimeField::of(const mpq_class& value) const {
    const mpz_class modulus(static_cast<unsigned long>(p));
    mpz_class den = value.get_den() % modulus, num = value.get_num() % modulus;
    if (num < 0)
        num += modulus;
    if (den == 0)
        return std::nullopt;
    return mul(uint64_t(num.get_ui()), inverse(uint64_t(den.get_ui())));
}

std::optional<uint64_t> PrimeField::of(const Decimal& value) const {
    const mpz_class modulus(static_cast<unsigned long>(p));
    mpz_class digits = value.digits % modulus;
    if (digits < 0)
        digits += modulus;
    uint64_t result = digits.get_ui(), ten = value.exponent >= 0 ? 10 : inverse(10);
    for (long e = value.exponent >= 0 ? value.exponent : -value.exponent; e; e >>= 1) {
        if (e & 1)
            result = mul(result, ten);
        ten = mul(ten, ten);
    }
    return result;
}

std::vector<bool> exactZeros(const ResidueSolve& solve, size_t count) {
    std::vector<bool> zero(count, true);
    size_t agreeing = 0;
    for (const uint64_t prime : primes()) {
        const auto residues = solve(PrimeField(prime));
        if (!residues || residues->size() != count)
            continue;
        for (size_t k = 0; k < count; ++k)
            zero[k] = zero[k] && (*residues)[k] == 0;
        if (++agreeing == kPrimesAgreeing)
            return zero;
    }
    return std::vector<bool>(count, false);
}
