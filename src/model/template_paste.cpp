#include "model/template_paste.h"

#include "model/coefficient_template.h"
#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/text_limits.h"
#include "toolkit/utf8.h"

#include <algorithm>

void checkTemplatePaste(const CellTable& table, int col, int row, const CellBlock& block,
                        const std::string& rowsHold, const std::string& source) {
    const int rows = int(block.size());
    const int rowsBelow = table.rowCount() - row;
    if (rows > rowsBelow) {
        const int degreeNeeded = row - 1 + rows - 1;
        throw Exception("The " + source + " holds " + IntToStr(rows) + " rows, but only " +
                        IntToStr(rowsBelow) + " fit from the current row down: the table holds " +
                        IntToStr(table.rowCount() - 1) + " " + rowsHold + ". " +
                        (degreeNeeded <= kMaxDegree
                             ? "Degree " + IntToStr(degreeNeeded) + " would hold them all."
                             : "Not even the largest degree, " + IntToStr(kMaxDegree) +
                                   ", would hold them all."));
    }
    size_t cols = 0;
    for (const auto& line : block)
        cols = std::max(cols, line.size());
    const int colsRight = table.colCount() - col;
    if (int(cols) > colsRight)
        throw Exception("The " + source + " holds " + IntToStr(int(cols)) + " columns, but only " +
                        IntToStr(colsRight) + " fit from the current column right.");
    for (const auto& line : block)
        for (const std::string& cell : line)
            if (utf16Length(cell) > size_t(kMaxTextLength))
                throw Exception(tooLongMessage("a cell"));
}
