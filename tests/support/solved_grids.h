#pragma once

#include "fitting/solve_steps.h"
#include "fitting/solver.h"
#include "support/cells.h"
#include "toolkit/errors.h"

#include <string>

// The three grids of a template of the given degree, with these points,
// solved as GetCoefficients solves them; no Qt.
struct SolvedGrids {
    // Through the points, one coefficient a point; `record` takes the steps.
    void solve(const Grid& rows, SolveSteps* record = nullptr) {
        setUp(rows, int(rows.size()) - 1);
        result = solveCoefficients(points, answers, coefficients, FitKind::throughPoints(), record);
    }
    void solveAllOnes(int count) { solve(allOnesPoints(count)); }
    // Least squares at `degree`, whatever the number of points.
    void solveLeastSquares(const Grid& rows, int degree, SolveSteps* record = nullptr,
                           const FitKind& kind = FitKind::leastSquares()) {
        setUp(rows, degree);
        result = solveCoefficients(points, answers, coefficients, kind, record);
    }

    CellTable points{2, 2}, answers{2, 2}, coefficients{2, 2};
    std::string result;

  private:
    // The grids as Generate leaves them for `degree`, with these points.
    void setUp(const Grid& rows, int degree) {
        points = tableOf(2, rows);
        answers = CellTable(degree + 2, 2);
        Grid letters;
        for (int k = 0; k <= degree; ++k)
            letters.push_back({std::string(1, char('A' + k)), ""});
        coefficients = tableOf(2, letters);
    }
};

// The steps of solving these points through, however the solve ends.
inline SolveSteps recordedSteps(const Grid& rows) {
    SolveSteps steps;
    try {
        SolvedGrids().solve(rows, &steps);
    } catch (const Exception&) {
        // the steps end with the failure
    }
    return steps;
}
