#pragma once

#include "exact/elimination_lesson.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableView;
class LessonStepsModel;
class LessonSystemModel;

// The elimination in any arithmetic, a window of its own opened from the
// player: a system (the last solve's, or any typed or pasted), reduced
// in a chosen arithmetic (single precision as the window's, double, exact,
// or k-digit decimal with rounding or chopping) beside a second one, with or
// without partial pivoting; step by step, each step's system in both, the
// step that kept the fewest digits, and the verdict once it is upper
// triangular. A student types row operations instead, and undoes them one
// by one; Copy as LaTeX takes the steps. Lists and grids show what is in
// view, made as it shows: a fit's system of 191 unknowns has 18,145 steps.
class EliminationLessonView : public QWidget {
  public:
    explicit EliminationLessonView(QWidget& player);

    // Shows the window with `system` (one equation a line, the right-hand
    // side last) in its box and reduced.
    void open(const std::string& system);
    const EliminationLesson* lesson() const { return shown ? &*shown : nullptr; }

    QPlainTextEdit* systemBox;
    QPushButton* useSystem;
    std::array<QComboBox*, 2> arithmetics;
    std::array<QSpinBox*, 2> digits;
    QComboBox* pivoting;
    QListView* steps;
    std::array<QLabel*, 2> gridNames;
    std::array<QTableView*, 2> grids;
    QLabel* mostLost;
    std::array<QLabel*, 2> verdicts;
    QLineEdit* operation;
    QPushButton* applyButton;
    QPushButton* undoButton;
    QPushButton* ownSteps;
    QPushButton* copyLatex;
    QLabel* message;

  private:
    void makeControls();
    void layOut();
    void bindControls();
    void useTypedSystem();
    // The lesson in the arithmetics and pivoting chosen; whether it took them.
    bool choose();
    // Runs a change of the lesson and shows it at its last step, or at the
    // step shown where `keepStep` and it has it; where it raised, says why,
    // the lesson as it was. Whether it changed.
    bool changed(const std::function<void()>& change, bool keepStep = false);
    void showLesson(bool keepStep);
    void showStep(int k);

    std::optional<EliminationLesson> shown;
    int shownStep = 0;
    LessonStepsModel* stepsModel;
    std::array<LessonSystemModel*, 2> systemModels;
};
