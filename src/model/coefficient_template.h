#pragma once

#include "toolkit/cell_block.h"

#include <QLineEdit>

#include <string>
#include <vector>

class StringGrid;

// Generate sizes the grids for degree + 1 coefficients and above this the
// solver's cost, which grows with the cube of the degree, gets out of hand.
inline constexpr int kMaxDegree = 190;

// The letter of coefficient i, the coefficient of x^i: the Latin-1
// character with code (65 + i) mod 256, "A" for the constant term.
std::string coefficientLetter(int i);

// The polynomial with letters, lowest power first: "A + Bx^1 + Cx^2".
std::string expandedForm(const std::vector<std::string>& letters);

// The same in nested (Horner) form: "(Cx + B)x + A".
std::string nestedForm(const std::vector<std::string>& letters);

// Generate: reads the degree from txtDegree and returns it (-1 for text that
// is not an integer). For a degree n >= 0 it sizes the point table and the
// coefficient grid to n + 2 rows and the answer grid to n + 2 columns and 2
// rows; it writes the letters into coefNames, the coefficient grid and the
// answer grid's header, and both forms into txtFx1 and txtFx2. Sample points
// and coefficient values stay in the rows that remain. A degree above
// kMaxDegree raises an error before anything changes.
int generateTemplate(const QLineEdit& txtDegree, std::vector<std::string>& coefNames,
                     StringGrid& sgdResult, StringGrid& sdgCoefficients, StringGrid& sgdAns1,
                     QLineEdit& txtFx1, QLineEdit& txtFx2);

// Paste into a grid that Generate sizes with one row per coefficient (the
// point table, the coefficient values): the block goes in from the current
// cell as if typed. A block taller than the rows from the current one down,
// or wider than the columns from the current one right, is refused whole
// with a message that names the degree that would hold it; `rowsHold` says
// what the rows are ("points", "coefficients"). So is a block with a cell
// longer than a cell holds.
void pasteIntoTemplateGrid(StringGrid& grid, const CellBlock& block, const std::string& rowsHold);
