#pragma once

#include "exact/exact_number.h"

#include <gmpxx.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// Which coefficients of an exact solution are exactly zero, told from the
// solution worked modulo large primes: a fraction is zero when its residue
// is zero modulo every prime tried. The fractions themselves can run to
// hundreds of thousands of digits; a residue costs one machine word, so the
// whole solution costs what a double solve costs.
//
// A nonzero residue proves the coefficient nonzero. Zero residues modulo
// three primes near 2^62 leave a nonzero numerator of a million bits a
// chance below 1E-35 of passing for zero.

// Arithmetic modulo one prime p < 2^63.
class PrimeField {
  public:
    explicit PrimeField(uint64_t p) : p(p) {}
    uint64_t add(uint64_t a, uint64_t b) const { return a >= p - b ? a - (p - b) : a + b; }
    uint64_t sub(uint64_t a, uint64_t b) const { return a >= b ? a - b : a + (p - b); }
    uint64_t mul(uint64_t a, uint64_t b) const { return uint64_t((unsigned __int128)a * b % p); }
    uint64_t inverse(uint64_t a) const; // a != 0
    // The residue of a rational or a decimal; nothing when p divides its
    // denominator.
    std::optional<uint64_t> of(const mpq_class& value) const;
    std::optional<uint64_t> of(const Decimal& value) const;

  private:
    uint64_t p;
};

// Residues of a solution modulo one prime, lowest power first; nothing when
// the prime divides a denominator or a pivot on the way.
using ResidueSolve = std::function<std::optional<std::vector<uint64_t>>(const PrimeField&)>;

// For each of `count` coefficients whether it is exactly zero. When no prime
// serves, none is taken for zero.
std::vector<bool> exactZeros(const ResidueSolve& solve, size_t count);
