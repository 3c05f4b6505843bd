#pragma once

#include "exact/exact_number.h"

#include <gmpxx.h>

#include <optional>
#include <vector>

// The polynomial of degree xs.size() - 1 through the points (xs[k], ys[k]),
// whose xs differ from each other: its coefficients, lowest power first.
//
// The points are exact, but the coefficients of a fit through many points
// are fractions of hundreds of thousands of digits, too long to form. So
// Newton's divided differences, expanded to powers of x, run in binary
// floating point of growing precision (256 bits, then 512, ...) until two
// precisions agree on every coefficient to 30 digits of the largest; the
// higher one is then good to more than 60. Its coefficients are rounded to
// 40 digits of the largest: an exact value as short as that comes out
// exactly, and so does zero. Nothing when kMaxPrecision bits do not settle
// them: at degree 190 that much precision takes a tenth of a second.
inline constexpr unsigned long kMaxPrecision = 4096;

std::optional<std::vector<Decimal>> interpolate(const std::vector<mpq_class>& xs,
                                                const std::vector<mpq_class>& ys);

// The polynomial with these coefficients, lowest power first, at each x;
// exactly, in integers scaled by powers of ten.
std::vector<mpq_class> valuesAt(const std::vector<Decimal>& coefficients,
                                const std::vector<Decimal>& xs);
