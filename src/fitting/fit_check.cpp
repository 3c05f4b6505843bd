#include "fitting/fit_check.h"

#include "model/coefficient_template.h"

#include <utility>

namespace {

int degreeOf(const CellTable& sdgCoefficients) {
    return sdgCoefficients.rowCount() - 2;
}

} // namespace

bool FitCheck::lastFitIs(const CellTable& sgdResult, const CellTable& sdgCoefficients,
                         FitMode mode) const {
    return lastFit && lastFit->isFit(mode, degreeOf(sdgCoefficients)) &&
           lastFit->madeFrom(sgdResult);
}

void FitCheck::prepare(const CellTable& sgdResult, const CellTable& sdgCoefficients, FitMode mode) {
    if (pending.valid() || lastFitIs(sgdResult, sdgCoefficients, mode))
        return;
    pending = std::async(std::launch::async,
                         [points = sgdResult, mode, degree = degreeOf(sdgCoefficients)] {
                             return ExactFit(points, mode, degree);
                         });
}

void FitCheck::start(const CellTable& sgdResult, const CellTable& sdgCoefficients,
                     const std::string& solveFailure, FitMode mode,
                     std::shared_ptr<const SolveSteps> steps) {
    if (pending.valid())
        lastFit = std::make_shared<const ExactFit>(pending.get());
    if (!lastFitIs(sgdResult, sdgCoefficients, mode))
        lastFit = std::make_shared<const ExactFit>(sgdResult, mode, degreeOf(sdgCoefficients));
    shown = {lastFit, nullptr, {}, solveFailure, std::move(steps)};
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
        shown = {};
        return true;
    }
    if (!shown.report)
        return false;
    if (coefficientTexts(sdgCoefficients) == shown.comparedValues)
        return false;
    compare(sdgCoefficients);
    return true;
}

FitCheck::Snapshot FitCheck::kept() const {
    Snapshot snapshot = shown;
    if (snapshot.report && snapshot.report->points.size() > kKeptReportPoints) {
        snapshot.report = nullptr;
        snapshot.reportLeftOut = true;
    }
    return snapshot;
}

void FitCheck::restore(Snapshot snapshot, const CellTable& sdgCoefficients) {
    shown = std::move(snapshot);
    if (std::exchange(shown.reportLeftOut, false))
        compare(sdgCoefficients);
}

void FitCheck::compare(const CellTable& sdgCoefficients) {
    shown.comparedValues = coefficientTexts(sdgCoefficients);
    shown.report = std::make_shared<const FitReport>(
        reportOn(shown.fit->compare(sdgCoefficients), shown.solveFailure));
}
