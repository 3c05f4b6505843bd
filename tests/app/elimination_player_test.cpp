#include "app/elimination_player.h"

#include "app/fit_check_panel.h"
#include "app/fit_check_view.h"
#include "app/window_actions.h"
#include "support/solved_grids.h"
#include "support/tarvel_test.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>

namespace {

class EliminationPlayerTest : public TarvelTest {
  protected:
    EliminationPlayer& player() { return *form.player; }
    QString position() { return player().position->text(); }
    // Everything the handlers read and write.
    struct Window {
        CellTable points, coefficients, answers;
        QStringList boxes;
        int pointCount, degree;
        bool operator==(const Window&) const = default;
    };
    Window window() {
        QStringList boxes;
        for (QLineEdit* box : form.findChildren<QLineEdit*>())
            boxes << box->text();
        return {form.sgdResult->cells(),       form.sdgCoefficients->cells(),
                form.sgdAns1->cells(),         boxes,
                TForm1State::pointCount(form), TForm1State::degree(form)};
    }

    TForm1 form;
};

TEST_F(EliminationPlayerTest, CtrlTOpensItAtTheLastStepAndTheKeysAndButtonsMove) {
    ASSERT_TRUE(showActive(form));
    form.btnGetCoefficients->click();
    QTest::keyClick(form.txtResult, Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(player().isVisible());
    EXPECT_EQ(position(), "step 15 of 15");
    player().first->click();
    EXPECT_EQ(position(), "step 1 of 15");
    player().next->click();
    EXPECT_EQ(position(), "step 2 of 15");
    EXPECT_EQ(player().list->currentIndex().data().toString(), "2. Row 1 ÷ 1");
    player().list->setFocus();
    QTest::keyClick(player().list, Qt::Key_End);
    EXPECT_EQ(position(), "step 15 of 15");
    QTest::keyClick(player().list, Qt::Key_Home);
    EXPECT_EQ(position(), "step 1 of 15");
    QTest::keyClick(player().list, Qt::Key_Right);
    QTest::keyClick(player().list, Qt::Key_Down);
    EXPECT_EQ(position(), "step 3 of 15");
    player().last->click();
    player().previous->click();
    EXPECT_EQ(position(), "step 14 of 15");
}

// After "Row 4 − 6 × Row 3": row 4 changed, rows 1 to 3 finished, the pivot
// (C, row 3) outlined; the exact values of row 4 beside.
TEST_F(EliminationPlayerTest, AStepShowsTheSystemAfterItAndItsExactCells) {
    form.btnGetCoefficients->click();
    player().open();
    player().showStep(9);
    const QAbstractItemModel& grid = *player().grid->model();
    EXPECT_EQ(grid.index(3, 0).data().toString(), "6");
    EXPECT_EQ(grid.index(3, 4).data().toString(), "6");
    EXPECT_TRUE(grid.index(3, 1).data(Qt::BackgroundRole).isValid()) << "the changed row";
    EXPECT_TRUE(grid.index(0, 1).data(Qt::ForegroundRole).isValid()) << "a finished row";
    EXPECT_FALSE(grid.index(3, 1).data(Qt::ForegroundRole).isValid());
    EXPECT_TRUE(grid.index(2, 3).data(Qt::UserRole + 1).toBool()) << "the pivot";
    ASSERT_EQ(player().exactCells->rowCount(), 5);
    EXPECT_EQ(player().exactCells->item(4, 2)->text(), "6");
    EXPECT_EQ(player().worst->text(),
              "Most digits lost: No step lost a digit of single precision.");
}

TEST_F(EliminationPlayerTest, ItLeavesEveryGridBoxAndFieldAsTheSolveLeftThem) {
    setPoints(form, allOnesPoints(10));
    form.btnGetCoefficients->click();
    const Window solved = window();
    player().open();
    player().toWorst->click();
    for (size_t k = 0; k < player().steps()->steps.size(); ++k)
        player().showStep(k);
    player().copyText->click();
    player().copyLatex->click();
    EXPECT_EQ(window(), solved);
    EXPECT_TRUE(player().worst->text().contains("7 digits lost"));
}

TEST_F(EliminationPlayerTest, GenerateClosesItAndUndoBringsItsStepsBack) {
    form.btnGetCoefficients->click();
    form.checkView->panel->stepsButton->click();
    ASSERT_TRUE(player().isVisible());
    const SolveSteps* solved = player().steps();
    form.btnGenerate->click();
    EXPECT_FALSE(player().isVisible());
    EXPECT_FALSE(player().steps());
    TForm1State::undoStack(form).undo();
    EXPECT_EQ(player().steps(), solved);
    form.sgdResult->model()->setData(form.sgdResult->model()->index(0, 1), "5");
    EXPECT_FALSE(player().steps()) << "a point edited: the steps describe no longer";
}

TEST_F(EliminationPlayerTest, AFailedSolveEndsWithTheMessageAndTheMenuOpensIt) {
    form.sgdResult->setCell(0, 2, "1");
    form.btnGetCoefficients->click();
    EXPECT_TRUE(form.actions->answersMenu->actions().contains(form.actions->steps));
    form.actions->steps->trigger();
    ASSERT_TRUE(player().isVisible());
    EXPECT_EQ(position(), "step 6 of 6");
    EXPECT_EQ(player().list->currentIndex().data().toString(),
              "6. Row 2 ÷ 0: Floating point division by zero");
}

// The player alone, following steps as the window hands them over.
class EliminationPlayerAlone : public TarvelTest, public SolvedGrids {
  protected:
    QWidget window;
    EliminationPlayer player{window};
};

TEST_F(EliminationPlayerAlone, FollowsTheStepsItIsGivenAndClosesWithoutThem) {
    auto steps = std::make_shared<SolveSteps>();
    solve({{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}}, steps.get());
    player.open();
    EXPECT_FALSE(player.isVisible()) << "nothing to show yet";
    player.follow(steps);
    player.open();
    ASSERT_TRUE(player.isVisible());
    EXPECT_EQ(player.position->text(), "step 15 of 15");
    player.first->click();
    EXPECT_EQ(player.list->currentIndex().data().toString(), "1. Build");
    player.follow(nullptr);
    EXPECT_FALSE(player.isVisible());
    EXPECT_EQ(player.steps(), nullptr);
}

} // namespace
