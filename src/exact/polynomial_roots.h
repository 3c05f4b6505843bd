#pragma once

#include "exact/exact_number.h"

#include <string>
#include <vector>

// Where a polynomial takes a value, found exactly: the polynomial less the
// value is made square-free, its real roots are isolated by a Sturm sequence
// in rational arithmetic, and each is narrowed by bisection until its 15
// significant digits are settled.

// Roots are sought up to this degree: beyond it the Sturm sequence's
// rational coefficients grow past what a click may wait for.
inline constexpr int kMaxRootDegree = 30;

struct ValueRoots {
    bool everywhere = false; // the polynomial is that value at every x
    // The x in [low, high] where it takes the value, ascending, correctly
    // rounded to 15 significant digits as FloatToStr writes a double.
    std::vector<std::string> xs = {};
};

// `coefficients`: lowest power first, of degree at most kMaxRootDegree.
ValueRoots rootsOfValue(const std::vector<Decimal>& coefficients, const Decimal& value,
                        const Decimal& low, const Decimal& high);
