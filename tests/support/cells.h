#pragma once

#include "toolkit/cell_table.h"

#include <string>
#include <vector>

// Readers of cell tables, shared by every test; no Qt.

using Texts = std::vector<std::string>;
using Grid = std::vector<Texts>;

// The texts of one row, or of one column's rows 1 to rowCount - 1.
inline Texts rowTexts(const CellTable& table, int row) {
    Texts texts;
    for (int c = 0; c < table.colCount(); ++c)
        texts.push_back(table.cell(c, row));
    return texts;
}
inline Texts columnTexts(const CellTable& table, int col) {
    Texts texts;
    for (int r = 1; r < table.rowCount(); ++r)
        texts.push_back(table.cell(col, r));
    return texts;
}

// Rows 1 to rowCount - 1, each with every column.
inline Grid dataRows(const CellTable& table) {
    Grid rows;
    for (int r = 1; r < table.rowCount(); ++r)
        rows.push_back(rowTexts(table, r));
    return rows;
}

// A table whose rows 1.. hold `rows` (row 0, the header, stays empty).
inline CellTable tableOf(int cols, const Grid& rows) {
    CellTable table(cols, int(rows.size()) + 1);
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            table.setCell(int(c), int(r) + 1, rows[r][c]);
    return table;
}

// Points x = 1 .. count of the polynomial whose every coefficient is 1: at
// 10 points single precision loses every digit of the fit.
inline Grid allOnesPoints(int count) {
    Grid rows;
    for (long long x = 1; x <= count; ++x) {
        long long fx = 0;
        for (int k = 0; k < count; ++k)
            fx = fx * x + 1;
        rows.push_back({std::to_string(x), std::to_string(fx)});
    }
    return rows;
}
