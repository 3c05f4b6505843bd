#include "fitting/fit_check.h"

#include "fitting/fit_kind.h"
#include "model/coefficient_template.h"

#include <utility>

namespace {

int degreeOf(const CellTable& sdgCoefficients) {
    return sdgCoefficients.rowCount() - 2;
}

} // namespace

bool FitCheck::lastFitIs(const CellTable& sgdResult, const FitKind& kind, int degree) const {
    return lastFit && lastMade.kind == &kind && lastMade.degree == degree &&
           lastFit->madeFrom(sgdResult);
}

void FitCheck::prepare(const CellTable& sgdResult, const CellTable& sdgCoefficients,
                       const FitKind& kind) {
    const int degree = degreeOf(sdgCoefficients);
    if (pending.valid() || lastFitIs(sgdResult, kind, degree))
        return;
    pendingMade = {&kind, degree};
    pending = std::async(std::launch::async, [points = sgdResult, &kind, degree] {
        return kind.exactFit(points, degree);
    });
}

void FitCheck::start(const CellTable& sgdResult, const CellTable& sdgCoefficients,
                     const std::string& solveFailure, const FitKind& kind,
                     std::shared_ptr<const SolveSteps> steps) {
    const int degree = degreeOf(sdgCoefficients);
    if (pending.valid()) {
        lastFit = std::make_shared<const ExactFit>(pending.get());
        lastMade = pendingMade;
    }
    if (!lastFitIs(sgdResult, kind, degree)) {
        lastFit = std::make_shared<const ExactFit>(kind.exactFit(sgdResult, degree));
        lastMade = {&kind, degree};
    }
    shown = {.solved = solveFailure.empty(),
             .solveFailure = solveFailure,
             .steps = std::move(steps),
             .fit = lastFit};
    compare(sdgCoefficients);
    const bool explains =
        shown.report->noFit ? shown.report->verdict == FitReport::Verdict::noExactFit : true;
    if (!solveFailure.empty() && !explains)
        shown.report = nullptr; // nothing to check; the steps stand
}

bool FitCheck::follow(const CellTable& sgdResult, const CellTable& sdgCoefficients) {
    if (!shown.fit)
        return false;
    if (!shown.fit->madeFrom(sgdResult)) {
        uncheck();
        return true;
    }
    if (!shown.report)
        return false;
    if (coefficientTexts(sdgCoefficients) == shown.comparedValues)
        return false;
    compare(sdgCoefficients);
    return true;
}

LastSolve FitCheck::kept() const {
    LastSolve snapshot = shown;
    if (snapshot.report && snapshot.report->points.size() > kKeptReportPoints) {
        snapshot.report = nullptr;
        snapshot.reportLeftOut = true;
    }
    return snapshot;
}

void FitCheck::restore(LastSolve solve, const CellTable& sdgCoefficients) {
    shown = std::move(solve);
    if (std::exchange(shown.reportLeftOut, false))
        compare(sdgCoefficients);
}

void FitCheck::compare(const CellTable& sdgCoefficients) {
    shown.comparedValues = coefficientTexts(sdgCoefficients);
    shown.report = std::make_shared<const FitReport>(
        reportOn(shown.fit->compare(sdgCoefficients), shown.solveFailure));
}
