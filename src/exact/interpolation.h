#pragma once

#include "exact/precision_ladder.h"

#include <gmpxx.h>

#include <optional>
#include <vector>

// The polynomial of degree xs.size() - 1 through the points (xs[k], ys[k]),
// whose xs differ from each other: its coefficients, lowest power first.
//
// Newton's divided differences, expanded to powers of x, up the precision
// ladder (precision_ladder.h). At degree 190 that takes a tenth of a second.

std::optional<std::vector<Decimal>> interpolate(const std::vector<mpq_class>& xs,
                                                const std::vector<mpq_class>& ys);

// The polynomial with these coefficients, lowest power first, at each x;
// exactly, in integers scaled by powers of ten.
std::vector<Decimal> valuesAt(const std::vector<Decimal>& coefficients,
                              const std::vector<Decimal>& xs);
