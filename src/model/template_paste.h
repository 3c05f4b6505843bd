#pragma once

#include "toolkit/cell_block.h"

#include <string>

class CellTable;

// Paste into a grid that Generate sizes with one row per coefficient: the
// point table and the coefficient values. A block fits when it reaches
// neither below the last row nor right of the last column from the current
// cell (col, row), and no cell of it is longer than a cell holds. A block
// that does not fit is refused whole: this raises an error that names the
// degree that would hold it; `rowsHold` says what the rows are ("points",
// "coefficients"), and `source` where the block came from ("clipboard",
// "drop").
void checkTemplatePaste(const CellTable& table, int col, int row, const CellBlock& block,
                        const std::string& rowsHold, const std::string& source);
