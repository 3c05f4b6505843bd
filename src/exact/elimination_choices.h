#pragma once

#include <string>

// What an elimination is chosen to run in, free of the exact arithmetic
// that carries it out (rounded_arithmetic.h): the arithmetic, each
// operation's exact result rounded as it rounds it (exact fractions; IEEE
// double or single precision, to nearest, ties to even; or k significant
// decimal digits, chopped or rounded half away from zero, as the classic
// exercises of numerical analysis do: "four-digit rounding"), and the
// pivoting.
struct Arithmetic {
    enum class Kind { exact, doubles, singles, decimal };
    Kind kind = Kind::exact;
    int digits = 4;        // decimal: kMinDecimalDigits to kMaxDecimalDigits
    bool chopping = false; // decimal: chop rather than round

    static constexpr int kMinDecimalDigits = 2, kMaxDecimalDigits = 15;

    // "exact", "double", "single", "4-digit rounding", "3-digit chopping".
    std::string name() const;
    bool operator==(const Arithmetic&) const = default;
};

enum class Pivoting { none, partial };
