#pragma once

#include "exact/elimination_choices.h"
#include "exact/exact_number.h"

#include <gmpxx.h>

#include <string>

// Values in an arithmetic (elimination_choices.h), kept as the exact
// fractions they are, so that any two arithmetics compare.

// `value` as the arithmetic holds it; beyond the range of a double or a
// single raises the overflow error.
mpq_class roundedIn(const Arithmetic& arithmetic, const mpq_class& value);

// `value`, one of the arithmetic's, written with the digits it keeps: all
// k of k digits ("10.00"), the shortest text that reads back as the same
// double or single, 15 digits of an exact fraction or "2/3" where they do
// not write it whole.
std::string writtenIn(const Arithmetic& arithmetic, const mpq_class& value);

// `value` to `digits` significant decimal digits: all of them, trailing
// zeros too, times a power of ten; 0 for 0.
Decimal roundedDecimal(const mpq_class& value, int digits, bool chopping);
