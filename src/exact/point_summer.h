#pragma once

#include "exact/exact_number.h"
#include "exact/least_squares.h"

#include <gmpxx.h>

#include <array>
#include <cstdint>
#include <set>
#include <vector>

// The exact sums of a least-squares fit made a point at a time, for points
// that come one by one: a table read row by row, or a file too long to
// hold. Each sum is an integer times a power of ten; a point written with
// more decimals than any before it rescales the sums so far, once.
class PointSummer {
  public:
    PointSummer(int degree, bool weighted);

    // One point; `w` only where the sums are weighted.
    void add(const Decimal& x, const Decimal& y, const Decimal& w = Decimal{1});
    // The points another summer took, as if added here: sums made on
    // several threads come together.
    void add(const PointSummer& other);

    size_t count() const { return points; }
    // How many different x were added, counted up to the degree plus one,
    // the most any fit of the degree asks for.
    size_t distinctXs() const { return distinct.size(); }
    // The least and greatest x added; 0 before any.
    mpq_class lowestX() const;
    mpq_class highestX() const;
    PointSums sums() const;

  private:
    // Every integer kept for x, y and w as a multiple of 10^-scale, the
    // scales made finer, never coarser.
    void rescale(long x, long y, long w);
    // `value` as an integer times 10^-scale, into `into`.
    void scale(mpz_class& into, const Decimal& value, long scale);
    // The point in X, Y and W into the sums: where each is one limb, into
    // sums of limbs of their own, positive and negative terms apart, as
    // GMP's low-level functions add them without a call's overhead each;
    // otherwise into the integers.
    void addInLimbs();
    void addInGeneral();
    // The sums of limbs moved into the integers.
    void flush();

    int degree;
    bool weighted;
    long xScale = 0, yScale = 0, wScale = 0;
    std::vector<mpz_class> powerSums, weightedSums; // Σ w x^k, Σ w x^k y
    mpz_class squares;                              // Σ w y²
    using Limbs = std::vector<mp_limb_t>;
    using Signed = std::array<Limbs, 2>; // the positive terms, the negative
    std::vector<Signed> limbPowers, limbWeighted;
    Signed limbSquares;
    uint64_t limbPoints = 0; // in the limbs since the last flush: never 2^64
    size_t points = 0;
    std::set<mpz_class> distinct; // x at xScale, up to degree + 1 of them
    mpz_class lowest, highest;    // x at xScale
    std::vector<mpz_class> tens;  // 10^shift, by shift
    // Kept, so that a point allocates nothing.
    mpz_class X, Y, W, generalPower, weighedY;
    Limbs power;
};
