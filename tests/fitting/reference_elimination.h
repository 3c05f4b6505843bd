#pragma once

#include "toolkit/arithmetic.h"
#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"

#include <cstdint>
#include <set>
#include <utility>

// The elimination exactly as the answer grid is meant to show it: every
// operand read from its cell's text, every result written as text before
// anything reads it; a text that is no number, or a number beyond a double,
// fails where it is read, naming the cell: a point's f(x) while column 0
// still holds it, the answer grid's cell otherwise. The solver must leave the
// grid as this does, cell for cell, also when an error ends it part-way.
//
// With `steps`, it stops once that many operations are done: a division of a
// pivot row, or a subtraction from a row below it, each one step.
inline void referenceEliminate(CellTable& grid, size_t steps = SIZE_MAX) {
    std::set<std::pair<int, int>> written;
    const auto value = [&](int col, int row) {
        if (col == 0 && !written.contains({col, row}))
            return CellToFloat(grid.cell(col, row), "Points", row, "f(x)");
        return CellToFloat(grid.cell(col, row), "Answer", row, grid.cell(col, 0));
    };
    const auto write = [&](int col, int row, double v) {
        grid.setCell(col, row, FloatToStr(v));
        written.insert({col, row});
    };
    const int equations = grid.rowCount() - 1;
    const int cols = grid.colCount();
    for (int i = 1; i <= equations; ++i) {
        if (steps-- == 0)
            return;
        const double pivot = single(value(i, i));
        for (int c = 0; c < cols; ++c)
            write(c, i, checkedDivide(value(c, i), pivot));
        for (int r = i + 1; r <= equations; ++r) {
            if (steps-- == 0)
                return;
            const double factor = single(value(i, r));
            for (int c = 0; c < cols; ++c) {
                const double h = single(value(c, r));
                const double q = single(value(c, i));
                write(c, r, single(h - q * factor));
            }
        }
    }
}
