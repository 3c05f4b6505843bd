#pragma once

#include <string>

struct SolveSteps;

// The steps of a solve written out for use elsewhere.

// Each step's caption on a line, then the row it changed, tab-separated as
// the grids copy (Build: every row it built; a coefficient: its value); a
// failing step is followed by its message.
std::string stepsText(const SolveSteps& steps);

// LaTeX (amsmath) that typesets within the article class's text width: the
// augmented matrices [coefficients | right-hand side] aligned, each
// operation over the arrow between them, breaking across pages between
// steps; where a matrix would be wider than the text, the operations and the
// rows they changed as a list instead, each row breaking after a comma. Then
// the back substitution, one equation an item.
inline constexpr double kLatexTextWidth = 345; // points, the article class's at 10 pt
std::string stepsLatex(const SolveSteps& steps);
