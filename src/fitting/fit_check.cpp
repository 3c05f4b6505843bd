#include "fitting/fit_check.h"

#include "model/coefficient_template.h"

void FitCheck::prepare(const CellTable& sgdResult) {
    if (pending.valid() || (exact && exact->madeFrom(sgdResult)))
        return;
    pending = std::async(std::launch::async, [points = sgdResult] { return ExactFit(points); });
}

void FitCheck::start(const CellTable& sgdResult, const CellTable& sdgCoefficients, bool solved) {
    if (pending.valid())
        exact.emplace(pending.get());
    if (!exact || !exact->madeFrom(sgdResult))
        exact.emplace(sgdResult);
    comparedValues = coefficientTexts(sdgCoefficients);
    current = reportOn(exact->compare(sdgCoefficients));
    if (!solved && current->verdict != FitReport::Verdict::noExactFit)
        current.reset();
}

bool FitCheck::follow(const CellTable& sgdResult, const CellTable& sdgCoefficients) {
    if (!current)
        return false;
    if (!exact->madeFrom(sgdResult)) {
        current.reset();
        return true;
    }
    std::vector<std::string> values = coefficientTexts(sdgCoefficients);
    if (values == comparedValues)
        return false;
    comparedValues = std::move(values);
    current = reportOn(exact->compare(sdgCoefficients));
    return true;
}
