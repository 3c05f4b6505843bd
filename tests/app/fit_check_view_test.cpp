#include "support/tarvel_test.h"

#include "app/fit_check_panel.h"
#include "app/fit_check_view.h"
#include "fitting/solver.h"
#include "toolkit/string_grid_model.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace {

class FitCheckViewTest : public TarvelTest {
  protected:
    void setPoints(const Grid& rows) { ::setPoints(form, rows); }
    void setAllOnes() { setPoints(allOnesPoints(10)); }
    void solve() {
        form.btnGetCoefficients->click();
        QCoreApplication::processEvents(); // the grids' views catch up, as in the event loop
    }
    bool shown() const { return form.checkView->indicator->isVisible(); }
    std::string tip() const { return form.checkView->indicator->toolTip().toStdString(); }
    // What the indicator tells a screen reader: "Exact check: agrees" or "... off".
    QString verdict() const {
        for (QToolButton* button : form.txtResult->findChildren<QToolButton*>())
            if (button->defaultAction() == form.checkView->indicator)
                return QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name);
        return "";
    }
    QStringList column(QAbstractItemView* table, int col) const {
        QStringList texts;
        for (int r = 0; r < table->model()->rowCount(); ++r)
            texts << table->model()->index(r, col).data().toString();
        return texts;
    }
    QString cellTip(int row) const {
        return form.sdgCoefficients->model()->index(row - 1, 0).data(Qt::ToolTipRole).toString();
    }
    bool tinted(int row) const {
        return form.sdgCoefficients->model()->index(row - 1, 0).data(Qt::BackgroundRole).isValid();
    }
    // Solves the same grids as the handler does, without the window.
    void expectTheSolverAloneWroteTheWindow(const CellTable& points, const CellTable& answers,
                                            const CellTable& coefficients) {
        CellTable ownAnswers = answers, ownCoefficients = coefficients;
        const std::string result = solveCoefficients(points, ownAnswers, ownCoefficients);
        EXPECT_EQ(form.sgdAns1->cells(), ownAnswers);
        EXPECT_EQ(form.sdgCoefficients->cells(), ownCoefficients);
        EXPECT_EQ(form.txtResult->text().toStdString(), result);
    }

    TForm1 form;
};

TEST_F(FitCheckViewTest, TheDefaultPointsAgreeAndTheSolveIsUntouched) {
    EXPECT_FALSE(shown()) << "nothing solved yet";
    const CellTable points = form.sgdResult->cells(), answers = form.sgdAns1->cells(),
                    coefficients = form.sdgCoefficients->cells();
    solve();
    expectTheSolverAloneWroteTheWindow(points, answers, coefficients);
    EXPECT_EQ(TForm1State::degree(form), 3);
    EXPECT_EQ(TForm1State::pointCount(form), 0);
    EXPECT_TRUE(shown());
    EXPECT_EQ(verdict(), "Exact check: agrees");
    form.checkView->indicator->trigger();
    ASSERT_TRUE(!form.checkView->panel->isHidden());
    EXPECT_EQ(column(form.checkView->panel->coefficientTable, 2),
              (QStringList{"2", "3", "-2", "1"}));
    EXPECT_EQ(column(form.checkView->panel->pointTable, 3), (QStringList{"0", "0", "0", "0"}));
    EXPECT_FALSE(tinted(2));
}

TEST_F(FitCheckViewTest, SinglePrecisionRoundingAgreesAndThePanelShowsTheExactValue) {
    setPoints({{"0", "0.1"}, {"1", "1.1"}, {"2", "4.1"}});
    solve();
    EXPECT_EQ(form.sdgCoefficients->cells().cell(1, 1), "0.100000001490116");
    EXPECT_EQ(verdict(), "Exact check: agrees");
    form.checkView->indicator->trigger();
    EXPECT_EQ(form.checkView->panel->coefficientTable->item(0, 1)->text(), "0.100000001490116");
    EXPECT_EQ(form.checkView->panel->coefficientTable->item(0, 2)->text(), "0.1");
}

TEST_F(FitCheckViewTest, DigitsTheExactValueDoesNotBearOutShowFaintAndSaySo) {
    setPoints({{"0", "0.1"}, {"1", "1.1"}, {"2", "4.1"}});
    solve();
    // 0.100000001490116 against 0.1: eight digits agree, from the 9th on faint.
    const QModelIndex a = form.sdgCoefficients->model()->index(0, 0);
    EXPECT_EQ(a.data(StringGridModel::kFadeFromRole), QVariant(10));
    EXPECT_EQ(cellTip(1), "0.100000001490116\n8 of 15 digits agree with the exact fit.");
    EXPECT_FALSE(tinted(1)) << "a faint tail is no alarm";
    EXPECT_TRUE(form.txtResult->toolTip().startsWith("A: 8 of 15 digits agree with the exact fit"))
        << form.txtResult->toolTip().toStdString();
    form.checkView->panel->onUseExactValues();
    QCoreApplication::processEvents();
    EXPECT_FALSE(
        form.sdgCoefficients->model()->index(0, 0).data(StringGridModel::kFadeFromRole).isValid());
    EXPECT_EQ(form.txtResult->toolTip(), "");
}

TEST_F(FitCheckViewTest, AnIllConditionedSolveIsOffTintedAndMendedByTheExactValues) {
    setAllOnes();
    const CellTable points = form.sgdResult->cells(), answers = form.sgdAns1->cells(),
                    coefficients = form.sdgCoefficients->cells();
    solve();
    expectTheSolverAloneWroteTheWindow(points, answers, coefficients);
    EXPECT_EQ(verdict(), "Exact check: off");
    EXPECT_TRUE(tinted(2));
    EXPECT_TRUE(
        cellTip(2).startsWith(QString::fromStdString(form.sdgCoefficients->cells().cell(1, 2)) +
                              "\nThe exact value is 1; this one is off by "))
        << cellTip(2).toStdString();

    form.checkView->indicator->trigger();
    EXPECT_EQ(column(form.checkView->panel->coefficientTable, 2), QStringList(10, "1"));
    form.checkView->panel->useButton->click();
    EXPECT_TRUE(errors().isEmpty());
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 1), Texts(10, "1"));
    EXPECT_EQ(form.txtResult->text(), "1 + 1x^1 + 1x^2 + 1x^3 + 1x^4 + 1x^5 + 1x^6 + 1x^7 + 1x^8 + "
                                      "1x^9");
    EXPECT_EQ(verdict(), "Exact check: agrees");
    QCoreApplication::processEvents();
    EXPECT_FALSE(tinted(2));
    form.txtRX->setText("11");
    form.btnFx->click();
    EXPECT_EQ(form.txtRfx->text(), "2593742460");
}

TEST_F(FitCheckViewTest, EditsKeepItCurrentAndAFailedSolveOrGenerateEndsIt) {
    solve();
    form.sdgCoefficients->model()->setData(form.sdgCoefficients->model()->index(1, 0), "3.5");
    EXPECT_EQ(verdict(), "Exact check: off");
    form.sdgCoefficients->model()->setData(form.sdgCoefficients->model()->index(1, 0), "3");
    EXPECT_EQ(verdict(), "Exact check: agrees");

    form.sgdResult->model()->setData(form.sgdResult->model()->index(0, 1), "5");
    EXPECT_FALSE(shown()) << "an edited point";
    solve();
    EXPECT_TRUE(shown());
    form.sgdResult->setCell(1, 1, "four");
    solve();
    EXPECT_EQ(errors().size(), 1);
    EXPECT_FALSE(shown()) << "a failed solve";
    form.sgdResult->setCell(1, 1, "4");
    solve();
    form.btnGenerate->click();
    EXPECT_FALSE(shown()) << "Generate, even of the same degree";
}

TEST_F(FitCheckViewTest, RowsThatShareAnXAreNamedBesideTheSolversError) {
    form.sgdResult->setCell(0, 4, "2.0");
    solve();
    EXPECT_EQ(errors(), QStringList{"Floating point division by zero"});
    EXPECT_TRUE(shown()) << "the check says why";
    form.checkView->indicator->trigger();
    EXPECT_TRUE(form.checkView->panel->reason->text().contains("rows 2 and 4"))
        << form.checkView->panel->reason->text().toStdString();
    EXPECT_FALSE(form.checkView->panel->useButton->isEnabled());
    EXPECT_EQ(form.checkView->panel->coefficientTable->rowCount(), 0);
}

TEST_F(FitCheckViewTest, CtrlEOpensThePanelEscClosesItAndCopyTakesBothTables) {
    ASSERT_TRUE(showActive(form));
    solve();
    form.txtResult->setFocus();
    QTest::keyClick(form.txtResult, Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(!form.checkView->panel->isHidden());
    EXPECT_FALSE(form.checkView->panel->reason->text().isEmpty());
    form.checkView->panel->copyButton->click();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(
        "Coefficient\tShown\tExact\tDifference\nA\t2\t2\t0\n"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(!form.checkView->panel->isHidden());
}

TEST_F(FitCheckViewTest, TheIndicatorSaysWhatItShowsToScreenReaders) {
    ASSERT_TRUE(showActive(form));
    setAllOnes();
    solve();
    QToolButton* button = nullptr;
    for (QToolButton* candidate : form.txtResult->findChildren<QToolButton*>())
        if (candidate->defaultAction() == form.checkView->indicator)
            button = candidate;
    ASSERT_TRUE(button);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Exact check: off");
    EXPECT_EQ(accessible->text(QAccessible::Description).toStdString(), tip());
}

// "Not checked" never looks like "off": its own icon, name and reason.
TEST_F(FitCheckViewTest, ANumberTheCheckCannotReadIsNotCheckedRatherThanOff) {
    form.sgdResult->setCell(1, 1, "4." + std::string(39, '0') + "1"); // 41 digits
    solve();
    ASSERT_TRUE(shown());
    EXPECT_EQ(verdict(), "Exact check: not checked");
    EXPECT_NE(tip().find("at most 40 significant digits"), std::string::npos) << tip();
    const QImage notChecked = form.checkView->indicator->icon().pixmap(16).toImage();
    form.sgdResult->setCell(1, 1, "4");
    solve();
    form.sdgCoefficients->model()->setData(form.sdgCoefficients->model()->index(1, 0), "3.5");
    EXPECT_EQ(verdict(), "Exact check: off");
    EXPECT_NE(form.checkView->indicator->icon().pixmap(16).toImage(), notChecked);
}

TEST_F(FitCheckViewTest, AFailedSolveWhoseExactFitExistsOffersIt) {
    setPoints({{"5E38", "1"}, {"1E39", "2"}}); // beyond single precision
    solve();
    EXPECT_EQ(errors(), QStringList{"Floating point overflow"});
    ASSERT_TRUE(shown());
    EXPECT_EQ(tip(), "The solve stopped at \"Floating point overflow\"; the exact fit exists. "
                     "Click for it.");
    form.checkView->indicator->trigger();
    ASSERT_TRUE(form.checkView->panel->useButton->isEnabled());
    form.checkView->panel->useButton->click();
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 1), (Texts{"0", "2E-39"}));
    EXPECT_EQ(verdict(), "Exact check: agrees");
}

TEST_F(FitCheckViewTest, TabReachesTheIndicatorAndSpaceOpensThePanel) {
    ASSERT_TRUE(showActive(form));
    solve();
    form.txtResult->setFocus();
    QTest::keyClick(form.txtResult, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form.checkView->indicatorButton);
    QTest::keyClick(form.checkView->indicatorButton, Qt::Key_Space);
    EXPECT_FALSE(form.checkView->panel->isHidden());
}

// When the indicator goes, Result shows no trace of it: what the screen holds
// there is what the box paints afresh.
TEST_F(FitCheckViewTest, ResultRepaintsWholeWhenTheIndicatorGoes) {
    ASSERT_TRUE(showActive(form));
    setAllOnes(); // a Result long enough to run under the indicator
    solve();
    QTest::qWait(50);
    ASSERT_TRUE(shown());
    form.sgdResult->model()->setData(form.sgdResult->model()->index(0, 1), "11");
    QTest::qWait(50);
    ASSERT_FALSE(shown());
    const QPoint at = form.txtResult->mapToGlobal(QPoint(0, 0));
    const QImage onScreen =
        form.screen()
            ->grabWindow(0, at.x(), at.y(), form.txtResult->width(), form.txtResult->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    const QImage fresh = form.txtResult->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(onScreen, fresh);
}

} // namespace
