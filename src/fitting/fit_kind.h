#pragma once

#include "exact/exact_fit.h"
#include "fitting/point_file.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class CellTable;
class ExactSystem;
struct FitReport;
struct SolveSteps;

// How GetCoefficients fits the polynomial to the points, chosen once. Each
// kind owns its rules: how the point table is sized and grows, how many
// points it takes, the system it builds for the elimination, its exact fit
// and its refusals. The window, the check, the player, the report and Copy
// as ask the kind in force; none of them knows which kind it is.
//
// Through the points: one row per coefficient, each point an equation,
// solved exactly as the elimination by hand would. Least squares: any number
// of points, and the normal equations of the best fit take the points' place
// in the same grid. Its options make kinds of their own: one object for each
// set of options, so that two kinds are the same kind when they are the
// same object.
// What least squares may be asked for beyond the points: coefficients held
// at values, and a third column "w" in the point table that weighs each
// point (blank is 1).
struct LeastSquaresOptions {
    HeldValues held = {};
    bool weighted = false;
    auto operator<=>(const LeastSquaresOptions&) const = default;
};

class FitKind {
  public:
    virtual ~FitKind() = default;

    static const FitKind& throughPoints();
    static const FitKind& leastSquares(const LeastSquaresOptions& options = {});
    // The kind a file of `points` points opens in: `current`, unless the
    // points are more than it takes, or `weighted` and it weighs none.
    static const FitKind& toOpen(const FitKind& current, size_t points, bool weighted = false);

    // Its name, as the undo step that switches to it says it, and the label
    // that says which kind is in force.
    virtual const char* name() const = 0;
    virtual const char* label() const = 0;
    // Its options; none through the points.
    virtual const LeastSquaresOptions& options() const = 0;
    // The report's line on the fit of `points` points, with its figures
    // when the check has them.
    virtual std::string reportLine(size_t points, const FitReport* check) const = 0;

    // The most points the table holds in this kind.
    virtual int pointLimit() const = 0;
    // Add's guard: the table counts as full at this many points.
    virtual int fullAt(const CellTable& sgdResult) const = 0;
    // The row the current cell moves on to after Add wrote row `row`; the
    // table may grow to hold it.
    virtual int rowAfterAdd(CellTable& sgdResult, int row) const = 0;
    // The table as the kind keeps it for `degree` (-1 when no degree was
    // read), after Generate or a switch to it.
    virtual void sizeTable(CellTable& sgdResult, int degree) const = 0;
    // The table as the kind keeps it after edits and pastes.
    virtual void keepTable(CellTable& sgdResult) const = 0;
    // Before a block of `rows` rows is pasted from `row` on: grows the table
    // to take it, or raises an error, naming `source`, that it cannot.
    virtual void makeRoomForPaste(CellTable& sgdResult, int row, size_t rows,
                                  const std::string& source) const = 0;
    // Whether a file's points set the degree: Degree becomes their number
    // less one, and Generate runs before they are put in.
    virtual bool pointsSetDegree() const = 0;
    // Puts the points of a file into rows 1 on, their weights too where the
    // table has the column.
    virtual void putPoints(CellTable& sgdResult, const std::vector<PointFields>& points) const = 0;

    // Writes the system the elimination reduces into the answer grid, and
    // what the player needs to build it again into `record`.
    virtual void buildSystem(const CellTable& sgdResult, CellTable& sgdAns1,
                             SolveSteps* record) const = 0;
    // What Build worked from, kept in `record` also when Build failed.
    virtual void keepBuilt(const CellTable& sgdResult, const CellTable& sgdAns1,
                           SolveSteps& record) const = 0;
    // The system Build made for a recorded solve, made again.
    virtual CellTable builtSystem(const SolveSteps& steps) const = 0;
    // The same system in exact arithmetic, of `unknowns` unknowns; empty,
    // with the reason in `unavailable`, when it cannot be had.
    virtual ExactSystem exactSystem(const SolveSteps& steps, int unknowns,
                                    std::string& unavailable) const = 0;

    // The exact fit of these points, of `degree` where the kind takes one.
    virtual ExactFit exactFit(const CellTable& sgdResult, int degree) const = 0;
    // Whether Draw stems each point to the curve, its residual.
    virtual bool drawsResiduals() const = 0;
};

// Least squares holding coefficient `power` at the value coefficient grid
// row power + 1 shows, besides those `kind` holds, or releasing it (a
// coefficient not held stays as it is). Holding through the points, a value
// that is no number, or the last free coefficient raises an error that says
// so.
const FitKind& holding(const FitKind& kind, const CellTable& sdgCoefficients, size_t power);
const FitKind& releasing(const FitKind& kind, size_t power);
// Least squares with its held values, weighted or not.
const FitKind& weighing(const FitKind& kind, bool weighted);

// The point table in least squares holds at most this many points.
inline constexpr int kMaxLeastSquaresPoints = 1000000;
