#include "app/elimination_lesson_view.h"

#include "app/elimination_player.h"
#include "support/cells.h"
#include "support/tarvel_test.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

namespace {

class EliminationLessonViewTest : public TarvelTest {
  protected:
    EliminationLessonView& view() { return *form.player->lesson; }
    QString verdict(int side) { return view().verdicts[size_t(side)]->text(); }
    QString cell(int side, int row, int col) {
        const QAbstractItemModel& grid = *view().grids[size_t(side)]->model();
        return grid.data(grid.index(row, col)).toString();
    }
    int stepCount() { return view().steps->model()->rowCount(); }
    QString step(int k, int role = Qt::DisplayRole) {
        const QAbstractItemModel& steps = *view().steps->model();
        return steps.data(steps.index(k, 0), role).toString();
    }

    TForm1 form;
};

// The classic exercise in four-digit rounding beside exact: without
// pivoting x is lost, partial pivoting keeps it.
TEST_F(EliminationLessonViewTest, FourDigitsBesideExactAndPartialPivotingAsTheCure) {
    view().open("0.003000 59.14 59.17\n5.291 -6.130 46.78\n");
    view().arithmetics[0]->setCurrentIndex(3); // digits, rounding
    view().digits[0]->setValue(4);
    EXPECT_EQ(view().gridNames[0]->text(), "4-digit rounding");
    EXPECT_EQ(view().gridNames[1]->text(), "exact");
    EXPECT_EQ(stepCount(), 2);
    EXPECT_EQ(step(1), "1. R2 ← R2 − 1764·R1");
    EXPECT_EQ(step(1, Qt::ToolTipRole), "Kept 3 of 4 digits");
    EXPECT_EQ(cell(0, 1, 1), "-104300");
    EXPECT_EQ(verdict(0),
              "Upper triangular: x1 = -10.00, x2 = 1.001. Against exact: 0 of 4 digits kept.");
    EXPECT_EQ(verdict(1), "Upper triangular: x1 = 10, x2 = 1.");
    EXPECT_TRUE(view().mostLost->text().startsWith("Fewest digits kept: "))
        << view().mostLost->text().toStdString();
    view().pivoting->setCurrentIndex(1);
    EXPECT_EQ(step(1), "1. Swap Row 1 and Row 2");
    EXPECT_EQ(verdict(0),
              "Upper triangular: x1 = 10.00, x2 = 1.000. Against exact: 4 of 4 digits kept.");
    view().steps->setCurrentIndex(view().steps->model()->index(0, 0));
    EXPECT_EQ(cell(0, 0, 0), "0.003000") << "the system as given";
    view().arithmetics[1]->setCurrentIndex(0); // nothing beside
    EXPECT_TRUE(view().grids[1]->isHidden());
}

TEST_F(EliminationLessonViewTest, AStudentTypesOperationsUndoesThemAndGoesBackToTheOwnSteps) {
    view().open("2 1 -1 8\n-3 -1 2 -11\n-2 1 2 -3\n");
    view().arithmetics[0]->setCurrentIndex(2); // exact
    QTest::keyClicks(view().operation, "R4 <-> R1");
    QTest::keyClick(view().operation, Qt::Key_Return);
    EXPECT_EQ(view().message->text(), "There is no row 4: the system has 3 rows.");
    EXPECT_EQ(view().operation->text(), "R4 <-> R1") << "kept for mending";
    for (const char* typed : {"R2 <- R2 + 3/2 R1", "R3 <- R3 + R1", "R3 <- R3 - 4 R2"}) {
        view().operation->setText(typed);
        view().applyButton->click();
        EXPECT_EQ(view().message->text(), "") << typed;
    }
    EXPECT_EQ(stepCount(), 4);
    EXPECT_EQ(verdict(0), "Upper triangular: x1 = 2, x2 = 3, x3 = -1.");
    view().undoButton->click();
    EXPECT_EQ(stepCount(), 3);
    EXPECT_EQ(verdict(0), "Not yet upper triangular.");
    view().ownSteps->click();
    EXPECT_EQ(verdict(0), "Upper triangular: x1 = 2, x2 = 3, x3 = -1.");
}

TEST_F(EliminationLessonViewTest, ThePlayerOpensItWithTheLastSolvesSystem) {
    form.btnGetCoefficients->click(); // 1 4, 2 8, 3 20, 4 46: 2 + 3x - 2x² + x³
    form.player->open();
    form.player->anyArithmetic->click();
    EXPECT_TRUE(view().isVisible());
    ASSERT_TRUE(view().lesson());
    EXPECT_EQ(view().lesson()->unknowns(), 4);
    view().arithmetics[0]->setCurrentIndex(2); // exact
    EXPECT_EQ(verdict(0), "Upper triangular: x1 = 2, x2 = 3, x3 = -2, x4 = 1.");
    view().systemBox->setPlainText("1 2 3\n4 five 6\n");
    view().useSystem->click();
    EXPECT_EQ(view().message->text(), "Line 2: '\u2068five\u2069' is not a number.");
    EXPECT_EQ(view().lesson()->unknowns(), 4) << "the last system stays";
}

// A system beyond single precision opens in double; chosen in single, it
// says why and shows the system as read, exactly.
TEST_F(EliminationLessonViewTest, ASystemBeyondSinglePrecisionOpensInDouble) {
    view().arithmetics[0]->setCurrentIndex(1); // double
    view().open("1e39 1 2\n3 4 5\n");
    EXPECT_EQ(view().message->text(), "");
    EXPECT_EQ(view().gridNames[0]->text(), "double");
    view().arithmetics[0]->setCurrentIndex(0); // single
    EXPECT_EQ(view().message->text(), "Floating point overflow");
    EXPECT_EQ(view().gridNames[0]->text(), "double") << "the lesson as it was";
    view().open("2e39 1 2\n3 4 5\n");
    EXPECT_EQ(view().message->text(), "Floating point overflow");
    EXPECT_EQ(view().gridNames[0]->text(), "exact") << "the new system, as read";
    EXPECT_EQ(stepCount(), int(view().lesson()->steps()));
    EXPECT_EQ(cell(0, 0, 0), "2E39");
}

// Past a dozen unknowns the lesson still takes the fit's own system.
TEST_F(EliminationLessonViewTest, ThePlayerGivesALargeFitItsOwnSystem) {
    setPoints(form, allOnesPoints(15));
    form.btnGetCoefficients->click();
    form.player->open();
    form.player->anyArithmetic->click();
    ASSERT_TRUE(view().lesson());
    EXPECT_EQ(view().lesson()->unknowns(), 15);
    view().steps->setCurrentIndex(view().steps->model()->index(0, 0));
    EXPECT_EQ(cell(0, 14, 1), "15") << "x = 15 in its last equation, as given";
}

// A fit's system past the exact run's size: exact beside becomes double,
// and a switch of arithmetic shows the same step in the new one.
TEST_F(EliminationLessonViewTest, ALargeSystemOpensBesideDoubleAndASwitchKeepsTheStep) {
    const int n = EliminationLesson::kMaxExactUnknowns + 2;
    std::string system;
    for (int r = 1; r <= n; ++r) {
        for (int c = 1; c <= n + 1; ++c)
            system += "1/" + std::to_string(r + c) + " ";
        system += "\n";
    }
    view().open(system);
    EXPECT_EQ(view().message->text(), "");
    EXPECT_EQ(view().arithmetics[1]->currentText(), "double precision");
    EXPECT_EQ(view().gridNames[1]->text(), "double");
    EXPECT_TRUE(view().mostLost->text().startsWith("Digits kept go unmeasured"));
    view().steps->setCurrentIndex(view().steps->model()->index(100, 0));
    const QString before = cell(0, 2, 2);
    view().arithmetics[0]->setCurrentIndex(3); // 4-digit rounding
    EXPECT_EQ(view().steps->currentIndex().row(), 100);
    EXPECT_EQ(view().gridNames[0]->text(), "4-digit rounding");
    EXPECT_NE(cell(0, 2, 2), before) << "step 100 in four digits";
    const auto* offered = static_cast<QStandardItemModel*>(view().arithmetics[1]->model());
    EXPECT_FALSE(offered->item(3)->isEnabled()) << "exact is offered no more";
    view().arithmetics[1]->setCurrentIndex(3); // exact beside, all the same
    EXPECT_TRUE(view().message->text().startsWith("Exact arithmetic follows systems of up to 30"))
        << view().message->text().toStdString();
    EXPECT_EQ(view().gridNames[1]->text(), "double") << "the lesson as it was";
}

} // namespace
