#pragma once

#include "fitting/solver.h"
#include "support/cells.h"

#include <string>

// The three grids of a template of the given degree, with these points,
// solved as GetCoefficients solves them; no Qt.
struct SolvedGrids {
    void solve(const Grid& rows) {
        points = tableOf(2, rows);
        const int n = int(rows.size());
        answers = CellTable(n + 1, 2);
        Grid letters;
        for (int k = 0; k < n; ++k)
            letters.push_back({std::string(1, char('A' + k)), ""});
        coefficients = tableOf(2, letters);
        result = solveCoefficients(points, answers, coefficients);
    }
    void solveAllOnes(int count) { solve(allOnesPoints(count)); }
    // Least squares at `degree`, whatever the number of points.
    void solveLeastSquares(const Grid& rows, int degree) {
        points = tableOf(2, rows);
        answers = CellTable(degree + 2, 2);
        Grid letters;
        for (int k = 0; k <= degree; ++k)
            letters.push_back({std::string(1, char('A' + k)), ""});
        coefficients = tableOf(2, letters);
        result = solveCoefficients(points, answers, coefficients, FitMode::leastSquares);
    }

    CellTable points{2, 2}, answers{2, 2}, coefficients{2, 2};
    std::string result;
};
