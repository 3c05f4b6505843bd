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

#include "exact/exact_number.h"
#include "toolkit/conversions.h"
#include "toolkit/message_text.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

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
        sgdResult.setColCount(2);
        if (degree >= 0)
            sgdResult.setRowCount(degree + 2);
    }
    void keepTable(CellTable&) const override {}
    void makeRoomForPaste(CellTable&, int, size_t, const std::string&) const override {}
    bool pointsSetDegree() const override { return true; }
    void putPoints(CellTable& sgdResult, const std::vector<PointFields>& points) const override {
        for (size_t k = 0; k < points.size(); ++k)
            for (int col = 0; col < sgdResult.colCount(); ++col)
                sgdResult.setCell(col, int(k) + 1, points[k][size_t(col)]);
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
    const LeastSquaresOptions& options() const override {
        static const LeastSquaresOptions none;
        return none;
    }
};

// "A and C held" for the label; "A held at 0, C at 2.5" for the report.
std::string heldText(const HeldValues& held, bool withValues) {
    std::string text;
    size_t k = 0;
    for (const auto& [power, value] : held) {
        text += k == 0 ? "" : k + 1 == held.size() && !withValues ? " and " : ", ";
        text += coefficientLetter(int(power));
        if (withValues)
            text += (k == 0 ? " held at " : " at ") + value;
        ++k;
    }
    return withValues ? text : text + " held";
}

// Any number of points; the normal equations of the best fit, of the free
// coefficients where some are held.
class LeastSquares final : public FitKind {
  public:
    explicit LeastSquares(LeastSquaresOptions options)
        : chosen(std::move(options)),
          labelText(std::string("Fit: ") + (chosen.weighted ? "weighted " : "") + "least squares" +
                    (chosen.held.empty() ? "" : ", " + heldText(chosen.held, false)) +
                    " (Ctrl+L)") {}

    const char* name() const override {
        return chosen.weighted ? "Weighted least squares" : "Least squares";
    }
    const char* label() const override { return labelText.c_str(); }
    const LeastSquaresOptions& options() const override { return chosen; }
    std::string reportLine(size_t, const FitReport* check) const override {
        std::string figures = chosen.held.empty() ? "" : ", " + heldText(chosen.held, true);
        if (check && check->statistics) {
            const FitStatistics& fit = *check->statistics;
            bool first = true;
            for (const std::string& clause :
                 statisticsClauses(fit, fit.largest ? check->points[*fit.largest].row : 0))
                figures += (std::exchange(first, false) ? ": " : ", ") + clause;
        }
        return std::string(name()) + figures;
    }

    int pointLimit() const override { return kMaxLeastSquaresPoints; }
    int fullAt(const CellTable&) const override { return kMaxLeastSquaresPoints; }
    int rowAfterAdd(CellTable& sgdResult, int row) const override {
        keepOneEmptyRow(sgdResult);
        return std::min(row + 1, sgdResult.rowCount() - 1);
    }
    void sizeTable(CellTable& sgdResult, int) const override {
        sgdResult.setColCount(chosen.weighted ? 3 : 2);
        if (chosen.weighted)
            sgdResult.setCell(2, 0, "w");
        keepOneEmptyRow(sgdResult);
    }
    void keepTable(CellTable& sgdResult) const override { keepOneEmptyRow(sgdResult); }
    void makeRoomForPaste(CellTable& sgdResult, int row, size_t rows,
                          const std::string& source) const override {
        ::makeRoomForPaste(sgdResult, row, rows, source);
    }
    bool pointsSetDegree() const override { return false; }
    // Into a table of exactly the points and the blank row, with the
    // weights' column where the kind weighs them.
    void putPoints(CellTable& sgdResult, const std::vector<PointFields>& points) const override {
        sgdResult.setRowCount(1);
        sizeTable(sgdResult, -1);
        sgdResult.setRowCount(int(points.size()) + 1);
        throughPoints().putPoints(sgdResult, points);
        keepOneEmptyRow(sgdResult);
    }

    void buildSystem(const CellTable& sgdResult, CellTable& sgdAns1,
                     SolveSteps* record) const override {
        buildNormalEquations(
            sgdResult, sgdAns1,
            record && sgdAns1.colCount() - 1 <= kMaxExactUnknowns ? &record->exactSums : nullptr,
            chosen.held);
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
        ExactSystem system = ExactSystem::ofSums(steps.exactSums, unknowns, unavailable);
        for (const auto& [power, value] : chosen.held)
            if (int(power) < system.equations())
                system.hold(int(power), value);
        return system;
    }

    ExactFit exactFit(const CellTable& sgdResult, int degree) const override {
        return ExactFit::nearest(sgdResult, filledRows(sgdResult), degree, chosen.held);
    }
    bool drawsResiduals() const override { return true; }

  private:
    LeastSquaresOptions chosen;
    std::string labelText;
};

} // namespace

const FitKind& FitKind::throughPoints() {
    static const ThroughPoints kind;
    return kind;
}

const FitKind& FitKind::leastSquares(const LeastSquaresOptions& options) {
    // Made once for each set of options and kept for the run: undo and the
    // last solve keep pointers to kinds.
    static std::mutex guard;
    static std::map<LeastSquaresOptions, std::unique_ptr<const LeastSquares>> kinds;
    const std::lock_guard lock(guard);
    auto& kind = kinds[options];
    if (!kind)
        kind = std::make_unique<const LeastSquares>(options);
    return *kind;
}

const FitKind& FitKind::toOpen(const FitKind& current, size_t points, bool weighted) {
    if (weighted && !current.options().weighted)
        return weighing(current, true);
    return points > size_t(throughPoints().pointLimit()) && &current == &throughPoints()
               ? leastSquares()
               : current;
}

const FitKind& weighing(const FitKind& kind, bool weighted) {
    LeastSquaresOptions options = kind.options();
    options.weighted = weighted;
    return FitKind::leastSquares(options);
}

const FitKind& holding(const FitKind& kind, const CellTable& sdgCoefficients, size_t power) {
    if (&kind == &FitKind::throughPoints())
        throw Exception("Coefficients are held in least squares; Ctrl+L switches to it.");
    const int row = int(power) + 1;
    const std::string& letter = sdgCoefficients.cell(0, row);
    const std::string value(Trim(sdgCoefficients.cell(1, row)));
    double number = 0;
    try {
        number = StrToFloat(value);
    } catch (const EConvertError&) {
        throw EConvertError("Coefficient " + letter +
                            " holds no number to hold: " + quotedText(value) + ".");
    }
    if (!exactDecimal(value) || std::abs(number) > FLT_MAX)
        throw EConvertError("Coefficient " + letter + " is held at a number of at most " +
                            IntToStr(kMaxExactDigits) +
                            " significant digits within single precision; " + value + " is not.");
    LeastSquaresOptions options = kind.options();
    options.held[power] = value;
    if (options.held.size() >= size_t(sdgCoefficients.rowCount() - 1))
        throw Exception("Every coefficient would be held: at least one stays free for the fit.");
    return FitKind::leastSquares(options);
}

const FitKind& releasing(const FitKind& kind, size_t power) {
    if (!kind.options().held.contains(power))
        return kind;
    LeastSquaresOptions options = kind.options();
    options.held.erase(power);
    return FitKind::leastSquares(options);
}
