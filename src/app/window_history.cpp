#include "app/window_history.h"

#include "exact/exact_fit.h"
#include "toolkit/packed_table.h"

#include <QScopeGuard>
#include <QUndoCommand>

#include <unordered_set>

namespace {

class StateStep : public QUndoCommand {
  public:
    StateStep(const QString& name, std::shared_ptr<const WindowState> before,
              std::shared_ptr<const WindowState> after, WindowHistory& history)
        : QUndoCommand(name), before(std::move(before)), after(std::move(after)), history(history) {
    }

    void undo() override { history.put(before); }
    void redo() override {
        if (std::exchange(done, false)) // pushed after the action ran: nothing to do yet
            return;
        history.put(after);
    }

    const std::shared_ptr<const WindowState> before, after;

  private:
    WindowHistory& history;
    bool done = true;
};

// The same grid as `near` holds, shared, when its texts are equal.
void share(std::shared_ptr<const PackedTable>& grid,
           const std::shared_ptr<const PackedTable>& near) {
    if (near && *grid == *near)
        grid = near;
}

} // namespace

bool WindowState::sameData(const WindowState& other) const {
    return *points == *other.points && *coefficients == *other.coefficients &&
           *answers == *other.answers && coefNames == other.coefNames &&
           pointCount == other.pointCount && degree == other.degree && kind == other.kind;
}

WindowHistory::WindowHistory(std::function<WindowState()> capture,
                             std::function<void(const WindowState&)> restore)
    : captureNow(std::move(capture)), restore(std::move(restore)) {
    stack.setUndoLimit(kMaxSteps);
}

WindowState WindowHistory::capture(const WindowState* near) {
    WindowState state = captureNow();
    if (near) {
        share(state.points, near->points);
        share(state.coefficients, near->coefficients);
        share(state.answers, near->answers);
    }
    return state;
}

void WindowHistory::start() {
    shown = std::make_shared<const WindowState>(capture(nullptr));
}

void WindowHistory::put(std::shared_ptr<const WindowState> state) {
    restore(*state);
    shown = std::move(state);
}

void WindowHistory::record(const QString& name, const std::function<void()>& action,
                           const std::vector<size_t>& readBoxes) {
    WindowState now = capture(shown.get());
    if (shown)
        for (const size_t box : readBoxes)
            now.boxes[box] = shown->boxes[box];
    auto before = std::make_shared<const WindowState>(std::move(now));
    // However the action ends, what it changed is a step.
    const auto push = qScopeGuard([&] {
        auto after = std::make_shared<const WindowState>(capture(before.get()));
        if (after->sameData(*before))
            return;
        shown = after;
        stack.push(new StateStep(name, before, after, *this));
    });
    action();
}

size_t WindowHistory::bytes() const {
    std::unordered_set<const PackedTable*> counted;
    size_t total = 0;
    const auto add = [&](const WindowState& state) {
        const PackedTable* fitPoints = state.solve.fit ? state.solve.fit->points().get() : nullptr;
        for (const auto* grid :
             {state.points.get(), state.coefficients.get(), state.answers.get(), fitPoints})
            if (grid && counted.insert(grid).second)
                total += grid->bytes();
        for (const std::string& box : state.boxes)
            total += box.capacity();
    };
    for (int k = 0; k < stack.count(); ++k) {
        const auto* step = static_cast<const StateStep*>(stack.command(k));
        add(*step->before);
        add(*step->after);
    }
    return total;
}
