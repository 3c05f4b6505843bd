#pragma once

#include "fitting/fit_check.h"
#include "fitting/fit_kind.h"
#include "toolkit/packed_table.h"

#include <QUndoStack>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The window's data at one moment, as undo gives it back: the three grids,
// every box, the private fields, the point table's current cell, the fit
// kind and the last solve as it stood. States next to each other share the grids they
// have in common.
struct WindowState {
    std::shared_ptr<const PackedTable> points, coefficients, answers;
    std::vector<std::string> boxes;
    LastSolve solve;
    const FitKind* kind = &FitKind::throughPoints();
    std::vector<std::string> coefNames;
    int pointCount = 0;
    int degree = -1;
    int currentCol = 0, currentRow = 1;

    // Whether `other` holds other data: the grids or the fields. The boxes
    // alone do not count: what a user types into a box is no step.
    bool sameData(const WindowState& other) const;
};

// Undo and redo: every user action that changes the window's data is one
// step, which keeps the state before it and the state after it.
class WindowHistory {
  public:
    // At most this many steps; the oldest go first.
    static constexpr int kMaxSteps = 100;

    WindowHistory(std::function<WindowState()> capture,
                  std::function<void(const WindowState&)> restore);

    // The state the window starts in, before any step.
    void start();

    // Runs `action` as a step named `name`; kept when it changed the data.
    // The boxes at `readBoxes` (indices into WindowState::boxes), which the
    // step reads, go into the state before it as they stood in the state the
    // window was in, not as typed since: undo gives back boxes that agree
    // with the grids.
    void record(const QString& name, const std::function<void()>& action,
                const std::vector<size_t>& readBoxes = {});

    QUndoStack stack;

    // What the kept states hold on the heap, each shared grid counted once,
    // the points the exact fits were made from included.
    size_t bytes() const;

    // Puts the window in `state`, as undo and redo do.
    void put(std::shared_ptr<const WindowState> state);

  private:
    WindowState capture(const WindowState* near);

    std::function<WindowState()> captureNow;
    std::function<void(const WindowState&)> restore;
    // The state the window was last put in, by a step, undo or redo; grids
    // are shared with it.
    std::shared_ptr<const WindowState> shown;
};
