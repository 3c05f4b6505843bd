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
// floating point at 128 bits and at 64 bits more; when the two agree on every
// coefficient to 30 digits of the largest, the higher is good to more than
// 48, and its coefficients are rounded to 40 digits of the largest: an exact
// value as short as that comes out exactly, and so does zero. Otherwise the
// precision doubles, up to kMaxPrecision bits; nothing when that does not
// settle them. At degree 190 that much precision takes a tenth of a second.
inline constexpr unsigned long kMaxPrecision = 4096;

std::optional<std::vector<Decimal>> interpolate(const std::vector<mpq_class>& xs,
                                                const std::vector<mpq_class>& ys);

// The polynomial with these coefficients, lowest power first, at each x;
// exactly, in integers scaled by powers of ten.
std::vector<Decimal> valuesAt(const std::vector<Decimal>& coefficients,
                                const std::vector<Decimal>& xs);
