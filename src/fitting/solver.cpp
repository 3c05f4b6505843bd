#include "fitting/solver.h"

#include "model/coefficient_template.h"
#include "toolkit/arithmetic.h"
#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

double value(const CellTable& grid, int col, int row) {
    return StrToFloat(grid.cell(col, row));
}

// A cell of the answer grid. Every cell the solver wrote reads as a number;
// the only text that may not is a point's f(x), copied verbatim into column 0
// of its row, so a conversion error names that point.
double answerValue(const CellTable& sgdAns1, int col, int row) {
    return CellToFloat(sgdAns1.cell(col, row), "Points", row, "f(x)");
}

} // namespace

void buildSystem(const CellTable& sgdResult, CellTable& sgdAns1) {
    for (int row = 1; row < sgdAns1.rowCount(); ++row)
        sgdAns1.clearRow(row);
    sgdAns1.setRowCount(2);
    const int pointRows = sgdResult.rowCount() - 1;
    for (int k = 1; k <= pointRows; ++k) {
        sgdAns1.setCell(0, k, sgdResult.cell(1, k));
        for (int j = 0; j <= sgdAns1.colCount() - 2; ++j) {
            const double x = single(CellToFloat(sgdResult.cell(0, k), "Points", k, "x"));
            sgdAns1.setCell(j + 1, k, x == 0 && j == 0 ? "1" : FloatToStr(std::pow(x, double(j))));
        }
        sgdAns1.setRowCount(sgdAns1.rowCount() + 1);
    }
    sgdAns1.setRowCount(sgdAns1.rowCount() - 1);
}

void eliminate(CellTable& sgdAns1) {
    const int equations = sgdAns1.rowCount() - 1;
    const int cols = sgdAns1.colCount();
    for (int i = 1; i <= equations; ++i) {
        const double pivot = single(value(sgdAns1, i, i));
        for (int c = 0; c < cols; ++c)
            sgdAns1.setCell(c, i, FloatToStr(checkedDivide(answerValue(sgdAns1, c, i), pivot)));
        for (int r = i + 1; r <= equations; ++r) {
            const double factor = single(value(sgdAns1, i, r));
            for (int c = 0; c < cols; ++c) {
                const double h = single(answerValue(sgdAns1, c, r));
                const double q = single(value(sgdAns1, c, i));
                sgdAns1.setCell(c, r, FloatToStr(single(h - q * factor)));
            }
        }
    }
}

void backSubstitute(const CellTable& sgdAns1, CellTable& sdgCoefficients) {
    // Each coefficient is read back from the text written for it; if a later
    // one fails, the column gets its old values back.
    std::vector<std::string> previous;
    for (int row = 1; row < sdgCoefficients.rowCount(); ++row)
        previous.push_back(sdgCoefficients.cell(1, row));
    const int cols = sgdAns1.colCount();
    const int equations = sgdAns1.rowCount() - 1;
    try {
        for (int n = equations; n >= 1; --n) {
            const int solved = equations - n;
            double s = single(value(sgdAns1, 0, n));
            for (int c = cols - 1; c >= cols - solved; --c) {
                const double a = single(value(sgdAns1, c, n));
                const double b = single(value(sdgCoefficients, 1, c));
                s = single(s - a * b);
            }
            sdgCoefficients.setCell(1, n, FloatToStr(s));
        }
    } catch (...) {
        for (int row = 1; row < sdgCoefficients.rowCount(); ++row)
            sdgCoefficients.setCell(1, row, previous[row - 1]);
        throw;
    }
}

std::string resultText(const CellTable& sdgCoefficients) {
    std::vector<std::string> values;
    for (int row = 1; row < sdgCoefficients.rowCount(); ++row)
        values.push_back(sdgCoefficients.cell(1, row));
    return expandedForm(values);
}

std::string solveCoefficients(const CellTable& sgdResult, CellTable& sgdAns1,
                              CellTable& sdgCoefficients) {
    buildSystem(sgdResult, sgdAns1);
    eliminate(sgdAns1);
    backSubstitute(sgdAns1, sdgCoefficients);
    return resultText(sdgCoefficients);
}
