#include "app/window_steps.h"

#include "app/busy_cursor.h"
#include "app/fit_check_view.h"
#include "app/passing_note.h"
#include "app/window_history.h"
#include "fitting/point_table.h"
#include "toolkit/error_display.h"
#include "toolkit/string_grid.h"

#include <QScopeGuard>

#include <algorithm>

WindowSteps::WindowSteps(WindowHistory& history, FitCheckView& check, PassingNote& note,
                         std::vector<StringGrid*> grids, std::vector<QLineEdit*> boxes,
                         std::function<const FitKind&()> kind)
    : history(history), check(check), note(note), grids(std::move(grids)), boxes(std::move(boxes)),
      kind(std::move(kind)) {}

bool WindowSteps::run(const StepDescription& step, const std::function<void()>& body) {
    if (step.commitsEdits)
        for (StringGrid* grid : grids)
            grid->commitEdit();
    const auto busy = busyCursor();
    if (step.solve == SolveEffect::solve && prepareSolve && !prepareSolve())
        return false;
    if (step.solve == SolveEffect::solve)
        check.beforeSolve(kind());
    QString failure;
    const auto whole = [&] {
        const CellTable& points = grids.front()->cells();
        const std::vector<int> filledBefore =
            step.mayDropPoints ? filledRows(points) : std::vector<int>();
        guarded(
            [&] {
                const auto show = qScopeGuard([this] { // also what a failed step wrote
                    for (StringGrid* grid : grids)
                        grid->sync();
                });
                body();
            },
            &failure);
        if (step.solve == SolveEffect::solve)
            check.afterSolve(failure, kind());
        else if (step.solve == SolveEffect::forget)
            check.clear();
        else if (step.solve == SolveEffect::uncheck)
            check.uncheck();
        check.follow(); // before the step keeps the state after it
        note.passDropped(filledBefore, points.rowCount());
    };
    if (!step.undoText) {
        whole();
        return failure.isEmpty();
    }
    std::vector<size_t> reads;
    for (QLineEdit* box : step.reads)
        reads.push_back(size_t(std::find(boxes.begin(), boxes.end(), box) - boxes.begin()));
    history.record(step.undoText, whole, reads);
    return failure.isEmpty();
}
