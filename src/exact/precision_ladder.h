#pragma once

#include "exact/exact_number.h"

#include <gmpxx.h>

#include <functional>
#include <optional>
#include <vector>

// Coefficients that are exact rationals of hundreds of thousands of digits
// are worked out in binary floating point instead, at 128 bits and at 64 bits
// more; when the two agree on every coefficient to 30 digits of the largest,
// the higher is good to more than 48, and its coefficients are rounded to 40
// digits of the largest: an exact value as short as that comes out exactly,
// and so does zero. Otherwise the precision doubles, up to kMaxPrecision
// bits; nothing when that does not settle them.
inline constexpr unsigned long kMaxPrecision = 4096;

using Floats = std::vector<mpf_class>;

std::optional<std::vector<Decimal>>
settledCoefficients(const std::function<Floats(mp_bitcnt_t bits)>& coefficientsAt);
