#pragma once

#include "fitting/exact_steps.h"

#include <QWidget>

#include <memory>
#include <optional>

class QLabel;
class QListView;
class QPushButton;
class QTableView;
class QTableWidget;
class EliminationLessonView;
class StepGridModel;
class StepListModel;

// The steps of the last GetCoefficients, one at a time, in a window of its
// own beside the main one: the list of steps by their captions; the system
// as it stood after the selected step, in a grid of its own (the pivot
// outlined, the changed row tinted, finished rows dimmed); the exact value of
// each cell the step changed, marked where single precision strays from it;
// First, Previous, Next and Last with their keys; where the most digits were
// lost, with a way there; Copy as text or LaTeX; and the same system, or
// any small one, in any arithmetic (elimination_lesson_view). It reads the steps and
// never the window's grids, so nothing the handlers read changes.
class EliminationPlayer : public QWidget {
    Q_OBJECT
  public:
    explicit EliminationPlayer(QWidget& window);
    ~EliminationPlayer() override;

    // The steps it describes: the last solve's, or none, and then it closes.
    void follow(std::shared_ptr<const SolveSteps> steps);
    // Shows the window at the last step; nothing without steps.
    void open();
    void showStep(size_t k);
    size_t step() const { return current; }
    const SolveSteps* steps() const { return shown.get(); }
    // The exact counterpart, worked out when the steps are first shown.
    const ExactSteps* exact() const { return audit ? &*audit : nullptr; }

    QListView* list;
    QTableView* grid;
    QLabel* exactNote;
    QTableWidget* exactCells;
    QLabel* position;
    QLabel* worst;
    QPushButton* toWorst;
    QPushButton* first;
    QPushButton* previous;
    QPushButton* next;
    QPushButton* last;
    QPushButton* copyText;
    QPushButton* copyLatex;
    QPushButton* anyArithmetic; // the same system in any arithmetic, as a lesson
    QPushButton* closeButton;
    EliminationLessonView* lesson;

  protected:
    // Left and Right in the list step back and on.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void makeControls();
    void layOut();
    void bindControls();
    void showSteps();
    void showExactCells();

    std::shared_ptr<const SolveSteps> shown;
    std::optional<ExactSteps> audit;
    size_t current = 0;
    StepListModel* listModel;
    StepGridModel* gridModel;
};
