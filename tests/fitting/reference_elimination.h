#pragma once

#include "toolkit/arithmetic.h"
#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"

// The elimination exactly as the answer grid is meant to show it: every
// operand read from its cell's text, every result written as text before
// anything reads it. The solver must leave the grid as this does, cell for
// cell, also when an error ends it part-way.
inline void referenceEliminate(CellTable& grid) {
    const auto value = [&](int col, int row) { return StrToFloat(grid.cell(col, row)); };
    const auto answerValue = [&](int col, int row) {
        return CellToFloat(grid.cell(col, row), "Points", row, "f(x)");
    };
    const int equations = grid.rowCount() - 1;
    const int cols = grid.colCount();
    for (int i = 1; i <= equations; ++i) {
        const double pivot = single(value(i, i));
        for (int c = 0; c < cols; ++c)
            grid.setCell(c, i, FloatToStr(checkedDivide(answerValue(c, i), pivot)));
        for (int r = i + 1; r <= equations; ++r) {
            const double factor = single(value(i, r));
            for (int c = 0; c < cols; ++c) {
                const double h = single(answerValue(c, r));
                const double q = single(value(c, i));
                grid.setCell(c, r, FloatToStr(single(h - q * factor)));
            }
        }
    }
}
