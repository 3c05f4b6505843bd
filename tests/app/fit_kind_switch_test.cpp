#include "app/fit_kind_switch.h"

#include "app/coefficient_menu.h"

#include "app/fit_check_panel.h"
#include "app/fit_check_view.h"
#include "app/passing_note.h"
#include "plot/chart_view.h"
#include "plot/point_marks.h"
#include "support/tarvel_test.h"

#include <QAction>
#include <QChart>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

namespace {

class FitKindSwitchTest : public TarvelTest {
  protected:
    void switchTo(const FitKind& kind) { form.switchFit(kind); }
    QString verdict() const { return form.checkView->indicatorButton->accessibleName(); }

    TForm1 form;
};

TEST_F(FitKindSwitchTest, CtrlLSwitchesAndTheLabelSaysWhichFitIsInForce) {
    ASSERT_TRUE(showActive(form));
    EXPECT_EQ(form.fitKind->label->text(), "Fit: through the points (Ctrl+L)");
    const QRect generate = form.btnGenerate->geometry();
    QTest::keyClick(form.txtDegree, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(&form.fitKind->kind(), &FitKind::leastSquares());
    EXPECT_TRUE(form.fitKind->leastSquares->isChecked());
    EXPECT_EQ(form.fitKind->label->text(), "Fit: least squares (Ctrl+L)");
    EXPECT_EQ(form.fitKind->label->accessibleName(), form.fitKind->label->text());
    EXPECT_EQ(form.btnGenerate->geometry(), generate) << "no control moves";
    EXPECT_EQ(dataRows(form.sgdResult->cells()),
              (Grid{{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}, {"", ""}}))
        << "a blank row to type into";
    QTest::keyClick(form.txtDegree, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(&form.fitKind->kind(), &FitKind::throughPoints());
    EXPECT_EQ(form.sgdResult->cells().rowCount(), 5);
}

TEST_F(FitKindSwitchTest, SwitchingBackDropsTheExtraPointsAndUndoBringsThemAndTheModeBack) {
    switchTo(FitKind::leastSquares());
    for (const char* x : {"5", "6"}) {
        form.sgdResult->setCurrentIndex(
            form.sgdResult->model()->index(form.sgdResult->cells().rowCount() - 2, 0));
        form.txtX->setText(x);
        form.txtFx->setText("1");
        form.btnAdd->click();
    }
    const Grid six = dataRows(form.sgdResult->cells());
    ASSERT_EQ(six.size(), 7u) << "six points and the blank row";
    form.txtDegree->setText("2");
    form.btnGenerate->click();
    EXPECT_EQ(dataRows(form.sgdResult->cells()), six) << "Generate keeps every point";

    switchTo(FitKind::throughPoints());
    EXPECT_EQ(form.sgdResult->cells().rowCount(), 4);
    EXPECT_TRUE(form.note->isVisibleTo(&form));
    EXPECT_EQ(form.note->text(), "3 points were dropped with the smaller degree; Ctrl+Z brings "
                                 "them back");
    QUndoStack& history = TForm1State::undoStack(form);
    history.undo();
    EXPECT_EQ(&form.fitKind->kind(), &FitKind::leastSquares());
    EXPECT_EQ(dataRows(form.sgdResult->cells()), six);
    EXPECT_TRUE(form.fitKind->leastSquares->isChecked());
    history.redo();
    EXPECT_EQ(&form.fitKind->kind(), &FitKind::throughPoints());
    EXPECT_EQ(form.fitKind->label->text(), "Fit: through the points (Ctrl+L)");
}

TEST_F(FitKindSwitchTest, TheDefaultPointsInLeastSquaresAreOffUntilTheExactValuesAreUsed) {
    switchTo(FitKind::leastSquares());
    form.btnGetCoefficients->click();
    EXPECT_TRUE(errors().isEmpty()) << errors().join("\n").toStdString();
    EXPECT_EQ(verdict(), "Exact check: off");
    EXPECT_TRUE(form.checkView->indicator->toolTip().contains(
        "the single-precision normal equations lost 4 of the 7 digits"))
        << form.checkView->indicator->toolTip().toStdString();
    EXPECT_TRUE(form.checkView->fitLine->isVisibleTo(&form));
    EXPECT_TRUE(form.checkView->fitLine->text().startsWith(
        "4 points, R² 0.999999999997, RMS residual 3.0399E-5"))
        << form.checkView->fitLine->text().toStdString();

    form.checkView->indicator->trigger();
    EXPECT_EQ(form.checkView->panel->pointTable->model()->headerData(3, Qt::Horizontal),
              "Residual f(x) − shown");
    EXPECT_TRUE(form.checkView->panel->fitNumbers->text().startsWith(
        "Over 4 points: squared error 3.69638541982487E-9 shown, 0 exact; R² 0.999999999996562 "
        "shown, 1 exact"))
        << form.checkView->panel->fitNumbers->text().toStdString();
    form.checkView->panel->useButton->click();
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 1), (Texts{"2", "3", "-2", "1"}));
    EXPECT_EQ(verdict(), "Exact check: agrees");
    EXPECT_EQ(form.checkView->fitLine->text(),
              "4 points, R² 1, RMS residual 0, largest residual 0 (row 1)");
}

TEST_F(FitKindSwitchTest, AddAtTheLastRowMovesOnAndTheNextAddLandsThere) {
    switchTo(FitKind::leastSquares());
    const int last = form.sgdResult->cells().rowCount() - 1; // the blank row
    form.sgdResult->setRow(last);
    for (const auto& [x, fx] : {std::pair{"5", "1"}, {"6", "2"}}) {
        form.txtX->setText(x);
        form.txtFx->setText(fx);
        form.btnAdd->click();
    }
    const CellTable& points = form.sgdResult->cells();
    EXPECT_EQ(points.cell(0, last), "5");
    EXPECT_EQ(points.cell(0, last + 1), "6") << "the second Add lands in the row after";
    EXPECT_EQ(form.sgdResult->row(), last + 2);
    EXPECT_EQ(form.sgdResult->model()->rowCount(), points.rowCount() - 1) << "below the header";
}

TEST_F(FitKindSwitchTest, APasteThatGrowsTheTableShowsAtOnce) {
    switchTo(FitKind::leastSquares());
    form.sgdResult->setCurrentIndex(form.sgdResult->model()->index(0, 0)); // row 1
    QString rows;
    for (int k = 1; k <= 8; ++k)
        rows += QString("%1\t%2\n").arg(k).arg(k * k);
    form.sgdResult->pasteText(rows);
    ASSERT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
    EXPECT_EQ(form.sgdResult->cells().rowCount(), 10) << "8 points and the blank row";
    EXPECT_EQ(form.sgdResult->model()->rowCount(), 9)
        << "the view shows them all, below the header";
    form.sgdResult->setRow(8);
    EXPECT_EQ(form.sgdResult->row(), 8);
    form.sgdResult->setRow(9); // the blank row: no room below it
    form.sgdResult->pasteText("9\t81\n10\t100");
    EXPECT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
    EXPECT_EQ(form.sgdResult->cells().cell(1, 10), "100");
    EXPECT_EQ(dataRows(form.sgdResult->cells()).back(), (Texts{"", ""})) << "a blank row below";
    EXPECT_EQ(form.sgdResult->model()->rowCount(), 11);
}

TEST_F(FitKindSwitchTest, AFailedSolveHasNoFitLineOfItsOwn) {
    // Three x that single precision cannot tell apart: the normal equations
    // it reduces are singular, the exact ones are not. The coefficients of
    // the solve before stay in the grid, and are no fit of these points.
    switchTo(FitKind::leastSquares());
    form.txtDegree->setText("1");
    form.btnGenerate->click();
    form.btnGetCoefficients->click();
    ASSERT_TRUE(errors().isEmpty());
    CellTable& points = form.sgdResult->cells();
    points = tableOf(2, {{"1", "1"}, {"1.00000001", "2"}, {"1.00000002", "3"}, {"", ""}});
    points.setCell(0, 0, "x");
    points.setCell(1, 0, "f(x)");
    form.sgdResult->sync();
    form.btnGetCoefficients->click();
    ASSERT_FALSE(errors().isEmpty()) << "the solve stops";
    ASSERT_TRUE(form.checkView->report());
    EXPECT_TRUE(form.checkView->report()->solveStopped);
    const QString line = form.checkView->fitLine->accessibleName();
    EXPECT_TRUE(line.startsWith("The solve stopped")) << line.toStdString();
    EXPECT_TRUE(line.contains("the exact fit has R² 1")) << line.toStdString();
    EXPECT_FALSE(line.contains("RMS")) << "nothing of the coefficients left in the grid";
    EXPECT_TRUE(form.checkView->indicator->toolTip().contains("the exact fit exists"))
        << form.checkView->indicator->toolTip().toStdString();
}

TEST_F(FitKindSwitchTest, TheFitLineNamesTheTableRowOfTheLargestResidual) {
    // The line 0.3 + 2.8x misses (2, 4) most; a blank row stands above it.
    switchTo(FitKind::leastSquares());
    form.txtDegree->setText("1");
    form.btnGenerate->click();
    CellTable& points = form.sgdResult->cells();
    points = tableOf(2, {{"0", "1"}, {"", ""}, {"1", "3"}, {"2", "4"}, {"3", "10"}, {"", ""}});
    points.setCell(0, 0, "x");
    points.setCell(1, 0, "f(x)");
    form.sgdResult->sync();
    form.btnGetCoefficients->click();
    ASSERT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
    const QString line = form.checkView->fitLine->accessibleName();
    EXPECT_TRUE(line.endsWith("(row 4)")) << line.toStdString();
}

TEST_F(FitKindSwitchTest, TooFewDifferentXSaysSoAndChangesNothing) {
    switchTo(FitKind::leastSquares());
    form.sgdResult->setCell(0, 2, "1");
    form.sgdResult->setCell(0, 4, "3");
    const CellTable answers = form.sgdAns1->cells();
    const QString result = form.txtResult->text();
    form.btnGetCoefficients->click();
    EXPECT_EQ(errors(), QStringList{"A least-squares fit of degree 3 needs at least 4 points with "
                                    "different x; the table has 2."});
    EXPECT_EQ(form.sgdAns1->cells(), answers);
    EXPECT_EQ(form.txtResult->text(), result);
}

// A million rows from a file: opened with the degree kept, solved at degree 3,
// drawn with every point in range marked.
TEST_F(FitKindSwitchTest, AMillionRowsOpenSolveAndDraw) {
    QTemporaryDir folder;
    const QString path = folder.filePath("many.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int k = 0; k < kMaxLeastSquaresPoints; ++k) {
        const double x = k / 100000.0;
        file.write(
            QString("%1,%2\n").arg(x).arg(1 + 2 * x - 0.01 * x * x + (k % 3) * 0.1).toUtf8());
    }
    file.close();
    switchTo(FitKind::leastSquares());
    form.txtDegree->setText("3");
    form.btnGenerate->click();
    form.openPoints(path);
    EXPECT_TRUE(errors().isEmpty()) << errors().join("\n").toStdString();
    EXPECT_EQ(form.txtDegree->text(), "3");
    EXPECT_EQ(form.sgdResult->cells().rowCount(), kMaxLeastSquaresPoints + 1)
        << "full: no blank row past the limit";
    form.btnGetCoefficients->click();
    EXPECT_TRUE(errors().isEmpty()) << errors().join("\n").toStdString();
    const QLabel& line = *form.checkView->fitLine;
    EXPECT_TRUE(line.text().startsWith("1000000 points")) << line.text().toStdString();
    // The line holds what fits of it in whole clauses, the whole in its tooltip.
    const QString whole = line.accessibleName();
    EXPECT_TRUE(whole.contains("largest residual") && whole.endsWith(")")) << whole.toStdString();
    EXPECT_LE(line.fontMetrics().horizontalAdvance(line.text()), line.width());
    EXPECT_TRUE(whole.startsWith(line.text()));
    EXPECT_TRUE(whole.mid(line.text().size()).isEmpty() ||
                whole.mid(line.text().size()).startsWith(", "))
        << "no clause cut in two";
    EXPECT_EQ(line.toolTip(), line.text() == whole ? QString() : whole);
    form.Tarvel->setCurrentIndex(1);
    form.btnDraw->click();
    EXPECT_TRUE(errors().isEmpty()) << errors().join("\n").toStdString();
    const PointMarks* marks = PointMarks::of(*form.Chart1->chart());
    ASSERT_TRUE(marks);
    EXPECT_EQ(marks->placed().size(), size_t(kMaxLeastSquaresPoints));
}

} // namespace

namespace {

class HeldCoefficients : public FitKindSwitchTest {
  protected:
    // The coefficient grid's menu as it opens on row `row`.
    void openMenuOn(int row) {
        form.sdgCoefficients->setCurrentIndex(form.sdgCoefficients->model()->index(row - 1, 0));
        emit form.sdgCoefficients->customContextMenuRequested({4, 4});
        form.coefficientMenu->menu->hide();
    }
};

TEST_F(HeldCoefficients, HoldingAIsAFitThroughTheOriginThatUndoTakesBack) {
    openMenuOn(1);
    EXPECT_FALSE(form.coefficientMenu->hold->isEnabled()) << "through the points nothing is held";
    switchTo(FitKind::leastSquares());
    form.txtDegree->setText("1");
    form.btnGenerate->click();
    form.sdgCoefficients->setCell(1, 1, "0");
    openMenuOn(1);
    ASSERT_TRUE(form.coefficientMenu->hold->isEnabled());
    EXPECT_FALSE(form.coefficientMenu->release->isEnabled());
    form.coefficientMenu->hold->trigger();
    EXPECT_EQ(form.fitKind->label->text(), "Fit: least squares, A held (Ctrl+L)");
    const QString tip = form.sdgCoefficients->model()->index(0, 0).data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains("Held at 0")) << tip.toStdString();
    form.btnGetCoefficients->click();
    // Σ x f(x) / Σ x² = 264 / 30 over the four default points.
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 1), (Texts{"0", "8.80000019073486"}));
    ASSERT_NE(form.checkView->report(), nullptr);
    ASSERT_TRUE(form.checkView->report()->statistics);
    EXPECT_EQ(form.checkView->report()->statistics->standardErrors[0], "-");
    EXPECT_EQ(verdict(), "Exact check: agrees");

    QUndoStack& history = TForm1State::undoStack(form);
    history.undo(); // the solve
    history.undo(); // the hold
    EXPECT_EQ(&form.fitKind->kind(), &FitKind::leastSquares());
    EXPECT_TRUE(form.sdgCoefficients->model()->index(0, 0).data(Qt::ToolTipRole).toString() == "0");
    history.redo();
    openMenuOn(1);
    ASSERT_TRUE(form.coefficientMenu->release->isEnabled());
    form.coefficientMenu->release->trigger();
    EXPECT_EQ(&form.fitKind->kind(), &FitKind::leastSquares());
}

TEST_F(HeldCoefficients, AValueThatIsNoNumberOrTheLastFreeOneIsRefusedAndNothingChanges) {
    switchTo(FitKind::leastSquares());
    form.txtDegree->setText("1");
    form.btnGenerate->click();
    form.sdgCoefficients->setCell(1, 1, "zero");
    form.sdgCoefficients->setCell(1, 2, "1");
    openMenuOn(1);
    form.coefficientMenu->hold->trigger();
    EXPECT_EQ(errors(), QStringList{"Coefficient A holds no number to hold: '\u2068zero\u2069'."});
    EXPECT_EQ(&form.fitKind->kind(), &FitKind::leastSquares());
    form.sdgCoefficients->setCell(1, 1, "0");
    form.coefficientMenu->hold->trigger();
    openMenuOn(2);
    form.coefficientMenu->hold->trigger();
    EXPECT_EQ(errors().last(),
              "Every coefficient would be held: at least one stays free for the fit.");
    EXPECT_EQ(form.fitKind->kind().options().held, (HeldValues{{0, "0"}}));
}

} // namespace

namespace {

using Weights = FitKindSwitchTest;

TEST_F(Weights, AWeightColumnWeighsEachPointAndUndoTakesItAway) {
    switchTo(FitKind::leastSquares());
    form.txtDegree->setText("1");
    form.btnGenerate->click();
    form.fitKind->weights->trigger();
    EXPECT_EQ(&form.fitKind->kind(), &FitKind::leastSquares({.weighted = true}));
    EXPECT_EQ(form.fitKind->label->text(), "Fit: weighted least squares (Ctrl+L)");
    ASSERT_EQ(form.sgdResult->cells().colCount(), 3);
    EXPECT_EQ(form.sgdResult->cells().cell(2, 0), "w");
    form.sgdResult->setCell(2, 1, "4");   // (1, 4) counts four times
    form.sgdResult->setCell(2, 3, "0.5"); // the other two weigh 1
    form.sgdResult->setCurrentIndex(form.sgdResult->model()->index(4, 0));
    form.sgdResult->pasteText("5\t70\t0.25\n");
    EXPECT_EQ(rowTexts(form.sgdResult->cells(), 5), (Texts{"5", "70", "0.25"}))
        << "a pasted point brings its weight";
    form.btnGetCoefficients->click();
    EXPECT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
    EXPECT_EQ(verdict(), "Exact check: agrees");
    const Texts weighted = columnTexts(form.sdgCoefficients->cells(), 1);

    form.sgdResult->setCell(2, 2, "0");
    form.btnGetCoefficients->click();
    EXPECT_EQ(errors().last(), "Points, row 2, w is '\u20680\u2069': a weight is a number above "
                               "0, of at most 40 significant digits; blank weighs 1.");
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 1), weighted) << "nothing changed";

    QUndoStack& history = TForm1State::undoStack(form);
    while (&form.fitKind->kind() != &FitKind::throughPoints() && history.canUndo())
        history.undo();
    EXPECT_EQ(form.sgdResult->cells().colCount(), 2);
    EXPECT_FALSE(form.fitKind->weights->isChecked());
}

TEST_F(Weights, AFileWithAWeightColumnOpensWeighted) {
    QTemporaryDir folder;
    const QString path = folder.filePath("weighted.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x,f(x),w\n0,1,2\n1,3,\n2,4,1.5\n");
    file.close();
    form.txtDegree->setText("1");
    form.btnGenerate->click();
    form.openPoints(path);
    EXPECT_EQ(&form.fitKind->kind(), &FitKind::leastSquares({.weighted = true}));
    EXPECT_EQ(dataRows(form.sgdResult->cells()),
              (Grid{{"0", "1", "2"}, {"1", "3", ""}, {"2", "4", "1.5"}, {"", "", ""}}));
}

} // namespace
