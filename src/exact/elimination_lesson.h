#pragma once

#include "exact/elimination_choices.h"
#include "exact/row_reduction.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The elimination as a numerical-analysis lesson: a system reduced in
// a chosen arithmetic, beside a second one, step by step, by the
// elimination's own operations or by a student's; each step held against
// the same operations in exact arithmetic, to say how many digits it kept.
// Step 0 is the system as given. Texts in and out, and the systems as
// row reductions. A system of thousands of steps keeps a few of its
// systems on the way, and makes any other from the nearest before it.
class EliminationLesson {
  public:
    // As many as the largest fit's system, degree 190's.
    static constexpr int kMaxUnknowns = 191;
    // Beyond this, exact fractions grow too long to follow step by step
    // while the lesson waits: no exact arithmetic, and digits kept go
    // unmeasured.
    static constexpr int kMaxExactUnknowns = 30;
    // Up to this, the LaTeX takes every step; beyond, the step shown.
    static constexpr int kMaxLatexStepsUnknowns = 12;

    // The system from its text, one equation a line, its n + 1 numbers
    // apart by commas, semicolons, tabs or spaces; "2/3" is a number too.
    // Raises an Exception naming the line and the number that is wrong, or
    // the shape that is no system of up to kMaxUnknowns unknowns. Reduced
    // in exact arithmetic, which nothing overflows, or in double beyond
    // kMaxExactUnknowns, with nothing beside until chosen.
    explicit EliminationLesson(std::string_view text);
    ~EliminationLesson();
    EliminationLesson(EliminationLesson&&) noexcept;
    EliminationLesson& operator=(EliminationLesson&&) noexcept;

    // Each change below is whole or none: a value beyond single or double
    // precision raises the overflow error, exact arithmetic beyond
    // kMaxExactUnknowns an Exception, and the lesson stays as it was.

    // Both arithmetics and the pivoting, and the elimination's own steps
    // run in them again from the system; `beside` may be none.
    void choose(const Arithmetic& main, const std::optional<Arithmetic>& beside, Pivoting pivoting);
    // The student's operation, as readOperation reads it, in both
    // arithmetics: the first one starts the student's own run from the
    // system. The refusal, or nothing when it was applied.
    std::optional<std::string> apply(std::string_view typed);
    // Takes the student's last operation back; false when there is none.
    bool undo();
    bool studentRun() const;
    // Back to the elimination's own steps.
    void startOver();

    int unknowns() const;
    size_t steps() const;
    std::string caption(size_t k) const;
    // The system after step k, side 0 the chosen arithmetic, side 1 beside
    // it; nothing for no arithmetic beside. Its texts, each entry written
    // with that arithmetic's digits.
    std::optional<RowReduction> reduction(size_t k, int side) const;
    std::vector<std::vector<std::string>> system(size_t k, int side) const;
    std::string arithmeticName(int side) const; // "" for no arithmetic beside
    int changedRow(size_t k) const;             // 1-based; 0 for step 0
    int clearedColumn(size_t k) const;          // of the elimination's own step; 0 for others
    // The fewest significant digits of the changed row's entries that the
    // chosen arithmetic kept, against the exact ones, of the most it
    // carries; nothing where there is no exact run.
    std::optional<int> keptDigits(size_t k) const;
    int carriedDigits() const;
    // "Fewest digits kept: 1 of 4, at step 1, R2 ← R2 − 1764·R1"
    std::string mostLost() const;
    // After the last step: "Upper triangular: x1 = -10.00, x2 = 1.001.
    // Against exact: 0 of 4 digits kept.", or what is still to do.
    std::string verdict(int side) const;
    // The steps in the chosen arithmetic, each system an array that the
    // page's width takes whole; beyond kMaxLatexStepsUnknowns, step `shown`.
    std::string latex(size_t shown) const;

    // What the lesson holds: the system, the choices, the steps and some
    // of the systems after them; defined in the source.
    struct Run;

  private:
    std::unique_ptr<Run> run;
};
