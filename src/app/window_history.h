#pragma once

#include "toolkit/packed_table.h"

#include <QUndoStack>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The window's data at one moment, as undo gives it back: the three grids,
// every box, the private fields and the point table's current cell. States
// next to each other share the grids they have in common.
struct WindowState {
    std::shared_ptr<const PackedTable> points, coefficients, answers;
    std::vector<std::string> boxes;
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

    // Runs `action` as a step named `name`; kept when it changed the data.
    void record(const QString& name, const std::function<void()>& action);

    QUndoStack stack;

    // What the kept states hold on the heap, each shared grid counted once.
    size_t bytes() const;

  private:
    WindowState capture(const WindowState* near);

    std::function<WindowState()> captureNow;
    std::function<void(const WindowState&)> restore;
    std::shared_ptr<const WindowState> last; // the newest state kept, to share grids with
};
