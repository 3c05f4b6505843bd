#pragma once

#include "fitting/fit_kind.h"
#include "toolkit/cell_table.h"
#include "toolkit/packed_table.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// What GetCoefficients did, step by step, in the order it did it: Build,
// then for each pivot the division of its row and the subtraction of it
// from each row below, then each coefficient of the back substitution. Only
// the operations and their operands are kept, and what Build worked from:
// any step's system is made again on demand by building it again and
// replaying the same elimination (systemAfter), never kept per step.
struct SolveStep {
    enum class Kind : std::uint8_t { build, divide, subtract, substitute };
    SolveStep(Kind kind, int row, int pivotRow, double operand)
        : kind(kind), row(std::int16_t(row)), pivotRow(std::int16_t(pivotRow)), operand(operand) {}

    // 16 bytes: a solve at degree 190 takes 18,528 steps.
    Kind kind;
    std::int16_t row;      // the answer grid's row it changed; substitute: the coefficient's row
    std::int16_t pivotRow; // subtract: the row subtracted
    double operand;        // divide: the pivot; subtract: the factor; substitute: the value written
};

struct SolveSteps {
    std::vector<SolveStep> steps;
    // Back substitution: for each coefficient, its right-hand side, then each
    // term's pair (a, b) in the order subtracted (termRange).
    std::vector<double> terms;
    int equations = 0;   // of the built system
    std::string failure; // the message of the error that ended the solve, if one did
    const FitKind* kind = &FitKind::throughPoints(); // the kind that built the system
    // Through the points, the point table, from which Build makes the system
    // again at once. Least squares keeps the normal equations Build wrote,
    // since their sums take long to form again, and, while the system is
    // small enough to work out exactly (kMaxExactUnknowns), the exact sums
    // (buildNormalEquations).
    CellTable points{0, 0};
    PackedTable normalEquations{CellTable(0, 0)};
    std::vector<std::string> exactSums;
    std::vector<std::string> letters; // of the unknowns, for captions
};

// Systems of more unknowns get no exact counterpart: their exact fractions
// grow too long to follow step by step while the player waits.
inline constexpr int kMaxExactUnknowns = 30;

// A run of the elimination reports to a hook: it records each step, stops a
// replay before a given step, and shows each step's result to an observer.
// The solver's own run has none.
struct StepHook {
    SolveSteps* record = nullptr;
    size_t stopBefore = SIZE_MAX;
    // After each step, with a reader of the values the grid then holds.
    std::function<void(size_t step, const std::function<double(int col, int row)>& value)> done;
    size_t next = 0; // the number of the step about to run

    // At the start of a step: false when a replay is to stop here.
    bool begin(const SolveStep& step) {
        if (next >= stopBefore)
            return false;
        if (record)
            record->steps.push_back(step);
        return true;
    }
    // Its operand, once read.
    void operand(double value) {
        if (record)
            record->steps.back().operand = value;
    }
};

// Where a substitution's terms stand in SolveSteps::terms, [first, end): the
// coefficient of row n is the (m - n + 1)th solved, after (m - n)² terms.
std::pair<size_t, size_t> termRange(const SolveSteps& steps, size_t k);

// The step's caption: "Build", "Row 3 ÷ 2", "Row 4 − 6 × Row 3",
// "D = 6 − 7 × 1 − …".
std::string caption(const SolveSteps& steps, size_t k);

// The answer grid as Build left it.
CellTable builtSystem(const SolveSteps& steps);

// The answer grid as it stood after step k, made again from the built system;
// after a failing step, as the failure left it.
CellTable systemAfter(const SolveSteps& steps, size_t k);

// Replays the elimination from the built system, calling `done` after each
// step with the grid's values then.
void replay(
    const SolveSteps& steps,
    const std::function<void(size_t step, const std::function<double(int, int)>& value)>& done);
