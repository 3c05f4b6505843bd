#pragma once

#include <string>

struct SolveSteps;

// The steps of a solve written out for use elsewhere.

// Each step's caption on a line, then the row it changed, tab-separated as
// the grids copy (Build: every row it built; a coefficient: its value); a
// failing step is followed by its message.
std::string stepsText(const SolveSteps& steps);

// LaTeX (amsmath): up to kMaxLatexUnknowns unknowns, an aligned list of the
// augmented matrices [coefficients | right-hand side] with each operation
// over the arrow between them; beyond that, the operations and the rows they
// changed as a list. Then the back substitution.
inline constexpr int kMaxLatexUnknowns = 11; // degree 10
std::string stepsLatex(const SolveSteps& steps);
