#pragma once

#include "exact/rounded_arithmetic.h"

#include <gmpxx.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A linear system reduced as a numerical-analysis text reduces it, in any
// arithmetic (rounded_arithmetic.h): row operations on the augmented matrix,
// Gaussian elimination's own sequence of them with or without partial
// pivoting, and the back substitution, each entry's result rounded as the
// arithmetic rounds it.

// One row operation, rows counted from 1 as the exercises count them.
struct RowOperation {
    enum class Kind { swap, scale, divide, addMultiple };
    Kind kind;
    int row;         // the row it changes
    int other = 0;   // swap: the other row; addMultiple: the row whose multiple is added
    mpq_class value; // scale: the factor; divide: the divisor; addMultiple: the multiple

    // "Swap Row 1 and Row 2", "R2 ← 0.5·R2", "R2 ← R2 ÷ 5.291",
    // "R2 ← R2 − 1764·R1", each number as `arithmetic` writes it.
    std::string text(const Arithmetic& arithmetic) const;
};

// A number as a lesson takes one: a decimal the exact reader takes, or a
// fraction of two, "2/3"; nothing for any other text.
std::optional<mpq_class> readNumber(std::string_view text);

// A student's operation as typed: "R1 <-> R2" or "swap R1 R2"; "R2 <- 0.5 R2";
// "R2 <- R2 / 5.291"; "R3 <- R3 - 2*R1" ("←", "↔", "−", "·" too; spaces
// anywhere); a number may be a fraction, "2/3". Why it is refused instead, naming what is wrong: a
// row that does not exist, a zero scale, a multiple that is no number.
struct ReadOperation {
    std::optional<RowOperation> operation;
    std::string refusal;
};
ReadOperation readOperation(std::string_view text, int rows);

using AugmentedMatrix = std::vector<std::vector<mpq_class>>;

class RowReduction {
  public:
    // The system n × (n + 1), each entry rounded into the arithmetic, and
    // held in its machine words (rounded_numbers.h) but for exact fractions.
    RowReduction(const AugmentedMatrix& augmented, Arithmetic arithmetic);
    RowReduction(const RowReduction& other);
    RowReduction& operator=(const RowReduction& other);
    RowReduction(RowReduction&&) noexcept;
    RowReduction& operator=(RowReduction&&) noexcept;
    ~RowReduction();

    const Arithmetic& arithmetic() const { return in; }
    int size() const { return n; }
    // Row r's entry in column c, from 1: exactly the value the arithmetic
    // holds, and written as it writes it.
    mpq_class entry(int r, int c) const;
    std::string text(int r, int c) const;
    bool isZero(int r, int c) const;

    // Each entry it touches rounded; a multiple of a row that clears the
    // entry under that row's first one, being minus the arithmetic's own
    // multiplier, clears it to 0 exactly, as the texts do.
    void apply(const RowOperation& operation);
    // Row r less its multiplier a(r, c) ÷ a(p, c), in the arithmetic, times
    // row p: entry (r, c) becomes 0. The multiple added, minus the
    // multiplier; 0, and nothing changed, where a(p, c) is 0.
    mpq_class clear(int r, int p, int c);
    // The row from `from` down with the largest entry in column c, the
    // first of equals.
    int largestInColumn(int c, int from) const;
    // Every entry below the diagonal is 0.
    bool upperTriangular() const;
    // x(n) first, each term and quotient in the arithmetic; nothing where a
    // diagonal entry is 0.
    std::optional<std::vector<mpq_class>> backSubstitute() const;

    struct Cells; // the entries in the arithmetic's own numbers

  private:
    Arithmetic in;
    int n;
    std::unique_ptr<Cells> cells;
};

// Gaussian elimination's own operations, applied to `system` as it goes:
// for each column, with partial pivoting the row with the largest entry
// from the diagonal down swapped up first (a step of its own, when it is
// another row), then each row below with a nonzero entry less its
// multiplier times the pivot row. Stops before a zero pivot. `done`, where
// given, sees each step once applied, with the number of steps so far.
std::vector<RowOperation> eliminate(RowReduction& system, Pivoting pivoting,
                                    const std::function<void(size_t steps)>& done = {});
