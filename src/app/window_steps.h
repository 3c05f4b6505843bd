#pragma once

#include <functional>
#include <vector>

class FitCheckView;
class FitKind;
class PassingNote;
class QLineEdit;
class StringGrid;
class WindowHistory;

// What a step does to the last solve.
enum class SolveEffect {
    follow,  // it follows the grids: a changed point takes the check away
    solve,   // it solves: the exact fit starts before, the check after
    forget,  // Generate, Open: no solve gave the coefficients shown
    uncheck, // a switch of the fit kind: nothing is left to check
};

// One step, described once: its name on the undo stack, if it is kept for
// undo (f(x), Draw and a page switch only recompute), what it does to the
// last solve, the boxes it reads, whether open cell editors are committed
// first (not for an edit, which is the committing), and whether it may cut
// the point table.
struct StepDescription {
    const char* undoText = nullptr;
    SolveEffect solve = SolveEffect::follow;
    std::vector<QLineEdit*> reads = {};
    bool commitsEdits = true;
    bool mayDropPoints = false;
};

// Runs every step the same way, whether a button, a paste, a switch of the
// fit kind, Open, a cell edit or "Use exact values" starts it: open cell
// editors committed first, a busy cursor, errors shown by the guard, the
// grids shown as the step left them, the last solve told, the points a
// smaller table dropped counted in the note, and the states before and
// after kept as one undo step.
class WindowSteps {
  public:
    WindowSteps(WindowHistory& history, FitCheckView& check, PassingNote& note,
                std::vector<StringGrid*> grids, std::vector<QLineEdit*> boxes,
                std::function<const FitKind&()> kind);

    // Runs `body` as `step`; whether it ended without an error.
    bool run(const StepDescription& step, const std::function<void()>& body);

    // Before a solving step: false when the user stopped what it needs
    // first, and the step does not run.
    std::function<bool()> prepareSolve;

  private:
    WindowHistory& history;
    FitCheckView& check;
    PassingNote& note;
    std::vector<StringGrid*> grids; // the point table first
    std::vector<QLineEdit*> boxes;  // in the order the window's states keep them
    std::function<const FitKind&()> kind;
};
