#pragma once

#include "exact/exact_number.h"

#include <gmpxx.h>

#include <functional>
#include <optional>
#include <vector>

// Coefficients that are exact rationals of hundreds of thousands of digits
// are worked out in binary floating point instead, at 128 bits and at 64 bits
// more; when the two agree on a coefficient to 30 digits of its own, the
// higher is good to more than 48, and it is rounded to 40 digits of its own:
// an exact value as short as that comes out exactly. Coefficients that are
// exactly zero (exact/residues.h) are 0 and never wait for the others.
// Until every other coefficient has settled so, however small beside the
// largest, the precision doubles, up to kMaxPrecision bits; nothing when that
// does not settle them.
inline constexpr unsigned long kMaxPrecision = 16384;

using Floats = std::vector<mpf_class>;

std::optional<std::vector<Decimal>>
settledCoefficients(const std::function<Floats(mp_bitcnt_t bits)>& coefficientsAt,
                    const std::vector<bool>& exactlyZero);
