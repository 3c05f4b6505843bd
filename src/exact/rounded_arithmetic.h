#pragma once

#include <gmpxx.h>

#include <string>

// An arithmetic an elimination can be carried out in, each operation's
// exact result rounded as the arithmetic rounds it: exact fractions; IEEE
// double or single precision, to nearest, ties to even; or k significant
// decimal digits, chopped or rounded half away from zero, as the classic
// exercises of numerical analysis do ("four-digit rounding"). Values are
// kept as the exact fractions they are, so any two arithmetics compare.
struct Arithmetic {
    enum class Kind { exact, doubles, singles, decimal };
    Kind kind = Kind::exact;
    int digits = 4;        // decimal: 2 to kMaxDecimalDigits
    bool chopping = false; // decimal: chop rather than round

    static constexpr int kMinDecimalDigits = 2, kMaxDecimalDigits = 15;

    // "exact", "double", "single", "4-digit rounding", "3-digit chopping".
    std::string name() const;
    // The value as this arithmetic holds it; beyond the range of a double
    // or single raises the overflow error.
    mpq_class round(const mpq_class& value) const;
    // A value written with the digits the arithmetic keeps: all k of k
    // digits ("10.00"), the shortest that reads back as the same double or
    // single, 15 of an exact fraction.
    std::string text(const mpq_class& value) const;

    bool operator==(const Arithmetic&) const = default;
};
