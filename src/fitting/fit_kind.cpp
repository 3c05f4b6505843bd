#include "fitting/fit_kind.h"

#include "exact/exact_fit.h"
#include "exact/exact_system.h"
#include "fitting/fit_report.h"
#include "fitting/normal_equations.h"
#include "fitting/point_table.h"
#include "fitting/solve_steps.h"
#include "fitting/solver.h"
#include "model/coefficient_template.h"
#include "toolkit/cell_table.h"
#include "toolkit/errors.h"
#include "toolkit/packed_table.h"

#include <algorithm>

namespace {

// One row per coefficient, each point an equation.
class ThroughPoints final : public FitKind {
  public:
    const char* name() const override { return "Through the points"; }
    const char* label() const override { return "Fit: through the points (Ctrl+L)"; }
    std::string reportLine(size_t points, const FitReport*) const override {
        return "Through the points: " + std::to_string(points) + " points";
    }

    int pointLimit() const override { return kMaxDegree + 1; }
    int fullAt(const CellTable& sgdResult) const override { return sgdResult.rowCount() - 1; }
    int rowAfterAdd(CellTable& sgdResult, int row) const override {
        return row >= sgdResult.rowCount() - 1 ? 1 : row + 1;
    }
    void sizeTable(CellTable& sgdResult, int degree) const override {
        if (degree >= 0)
            sgdResult.setRowCount(degree + 2);
    }
    void keepTable(CellTable&) const override {}
    void makeRoomForPaste(CellTable&, int, size_t, const std::string&) const override {}
    bool pointsSetDegree() const override { return true; }
    void putPoints(CellTable& sgdResult,
                   const std::vector<std::array<std::string, 2>>& points) const override {
        for (size_t k = 0; k < points.size(); ++k) {
            sgdResult.setCell(0, int(k) + 1, points[k][0]);
            sgdResult.setCell(1, int(k) + 1, points[k][1]);
        }
    }

    void buildSystem(const CellTable& sgdResult, CellTable& sgdAns1, SolveSteps*) const override {
        ::buildSystem(sgdResult, sgdAns1);
    }
    // The point table, from which Build makes the system again at once.
    void keepBuilt(const CellTable& sgdResult, const CellTable&,
                   SolveSteps& record) const override {
        record.points = sgdResult;
    }
    CellTable builtSystem(const SolveSteps& steps) const override {
        CellTable grid(int(steps.letters.size()) + 1, 2);
        grid.setCell(0, 0, "Answer");
        for (size_t k = 0; k < steps.letters.size(); ++k)
            grid.setCell(int(k) + 1, 0, steps.letters[k]);
        try {
            ::buildSystem(steps.points, grid);
        } catch (const Exception&) {
            // as far as the solve's Build got
        }
        return grid;
    }
    ExactSystem exactSystem(const SolveSteps& steps, int unknowns,
                            std::string& unavailable) const override {
        return ExactSystem::ofPoints(steps.points, unknowns, unavailable);
    }

    ExactFit exactFit(const CellTable& sgdResult, int) const override {
        return ExactFit(sgdResult);
    }
    bool drawsResiduals() const override { return false; }
};

// Any number of points; the normal equations of the best fit.
class LeastSquares final : public FitKind {
  public:
    const char* name() const override { return "Least squares"; }
    const char* label() const override { return "Fit: least squares (Ctrl+L)"; }
    std::string reportLine(size_t, const FitReport* check) const override {
        std::string figures;
        if (check && check->statistics) {
            const FitStatistics& fit = *check->statistics;
            for (const std::string& clause :
                 statisticsClauses(fit, fit.largest ? check->points[*fit.largest].row : 0))
                figures += (figures.empty() ? ": " : ", ") + clause;
        }
        return name() + figures;
    }

    int pointLimit() const override { return kMaxLeastSquaresPoints; }
    int fullAt(const CellTable&) const override { return kMaxLeastSquaresPoints; }
    int rowAfterAdd(CellTable& sgdResult, int row) const override {
        keepOneEmptyRow(sgdResult);
        return std::min(row + 1, sgdResult.rowCount() - 1);
    }
    void sizeTable(CellTable& sgdResult, int) const override { keepOneEmptyRow(sgdResult); }
    void keepTable(CellTable& sgdResult) const override { keepOneEmptyRow(sgdResult); }
    void makeRoomForPaste(CellTable& sgdResult, int row, size_t rows,
                          const std::string& source) const override {
        ::makeRoomForPaste(sgdResult, row, rows, source);
    }
    bool pointsSetDegree() const override { return false; }
    // Into a table of exactly the points and the blank row.
    void putPoints(CellTable& sgdResult,
                   const std::vector<std::array<std::string, 2>>& points) const override {
        sgdResult.setRowCount(1);
        sgdResult.setRowCount(int(points.size()) + 1);
        throughPoints().putPoints(sgdResult, points);
        keepOneEmptyRow(sgdResult);
    }

    void buildSystem(const CellTable& sgdResult, CellTable& sgdAns1,
                     SolveSteps* record) const override {
        buildNormalEquations(
            sgdResult, sgdAns1,
            record && sgdAns1.colCount() - 1 <= kMaxExactUnknowns ? &record->exactSums : nullptr);
    }
    // The normal equations Build wrote, since their sums take long to form
    // again.
    void keepBuilt(const CellTable&, const CellTable& sgdAns1, SolveSteps& record) const override {
        record.normalEquations = PackedTable(sgdAns1);
    }
    CellTable builtSystem(const SolveSteps& steps) const override {
        return steps.normalEquations.unpack();
    }
    ExactSystem exactSystem(const SolveSteps& steps, int unknowns,
                            std::string& unavailable) const override {
        return ExactSystem::ofSums(steps.exactSums, unknowns, unavailable);
    }

    ExactFit exactFit(const CellTable& sgdResult, int degree) const override {
        return ExactFit::nearest(sgdResult, filledRows(sgdResult), degree);
    }
    bool drawsResiduals() const override { return true; }
};

} // namespace

const FitKind& FitKind::throughPoints() {
    static const ThroughPoints kind;
    return kind;
}

const FitKind& FitKind::leastSquares() {
    static const LeastSquares kind;
    return kind;
}

const FitKind& FitKind::toOpen(const FitKind& current, size_t points) {
    return points > size_t(throughPoints().pointLimit()) ? leastSquares() : current;
}
