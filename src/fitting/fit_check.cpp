#include "fitting/fit_check.h"

#include "model/coefficient_template.h"

void FitCheck::prepare(const CellTable& sgdResult) {
    if (pending.valid() || (lastFit && lastFit->madeFrom(sgdResult)))
        return;
    pending = std::async(std::launch::async, [points = sgdResult] { return ExactFit(points); });
}

void FitCheck::start(const CellTable& sgdResult, const CellTable& sdgCoefficients,
                     const std::string& solveFailure) {
    if (pending.valid())
        lastFit = std::make_shared<const ExactFit>(pending.get());
    if (!lastFit || !lastFit->madeFrom(sgdResult))
        lastFit = std::make_shared<const ExactFit>(sgdResult);
    shown = {lastFit, nullptr, {}, solveFailure};
    compare(sdgCoefficients);
    const bool explains =
        shown.report->noFit ? shown.report->verdict == FitReport::Verdict::noExactFit : true;
    if (!solveFailure.empty() && !explains)
        shown = {};
}

bool FitCheck::follow(const CellTable& sgdResult, const CellTable& sdgCoefficients) {
    if (!shown.report)
        return false;
    if (!shown.fit->madeFrom(sgdResult)) {
        shown = {};
        return true;
    }
    if (coefficientTexts(sdgCoefficients) == shown.comparedValues)
        return false;
    compare(sdgCoefficients);
    return true;
}

void FitCheck::compare(const CellTable& sdgCoefficients) {
    shown.comparedValues = coefficientTexts(sdgCoefficients);
    shown.report = std::make_shared<const FitReport>(
        reportOn(shown.fit->compare(sdgCoefficients), shown.solveFailure));
}
