#pragma once

#include "fitting/fit_kind.h"

#include <string>

class CellTable;
struct SolveSteps;
struct StepHook;

// GetCoefficients: the polynomial of the current template through the sample
// points. The answer grid is the matrix: every step reads its operands from
// cell text and writes its result as text before a later step reads it, so
// the grid shows the computation exactly as it ran. Most operands are
// reduced to single precision as they are read.
//
// An error (a cell that is not a number, a zero pivot, an overflow) ends the
// solve where it stands; what the grid shows then is the state it reached.
// sdgCoefficients changes only when the whole solve succeeds; the text it
// returns is the Result, for txtResult. The fit kind builds the system: one
// equation per point, or in least squares the normal equations
// (normal_equations.h); the same elimination and back substitution solve it.
//
// With `record`, every step goes into it as it runs (solve_steps.h); the
// grids and the text are the same.
std::string solveCoefficients(const CellTable& sgdResult, CellTable& sgdAns1,
                              CellTable& sdgCoefficients,
                              const FitKind& kind = FitKind::throughPoints(),
                              SolveSteps* record = nullptr);

// The steps, in the order solveCoefficients runs them.

// Empties the answer grid's equation rows, then writes one equation per point
// row: the f(x) text verbatim in column 0, the powers x^0 .. x^(N-1) of the
// point's x (reduced to single precision) in columns 1 .. N.
void buildSystem(const CellTable& sgdResult, CellTable& sgdAns1);

// Gaussian elimination in place with a unit diagonal, without pivot search.
// A hook records its steps, or stops a replay part-way.
void eliminate(CellTable& sgdAns1, StepHook* hook = nullptr);

// Solves the reduced system from the bottom up into column 1 of
// sdgCoefficients, row c for the coefficient of x^(c-1). All or nothing: when
// it fails part-way, the column gets its old values back.
void backSubstitute(const CellTable& sgdAns1, CellTable& sdgCoefficients, StepHook* hook = nullptr);

// "2 + 3x^1 + -2x^2 + 1x^3": the values as they stand, lowest power first.
std::string resultText(const CellTable& sdgCoefficients);
