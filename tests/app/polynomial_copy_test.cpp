#include "support/tarvel_test.h"

#include "app/polynomial_copy.h"
#include "toolkit/error_display.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

class PolynomialCopyTest : public TarvelTest {
  protected:
    QString copied(PolynomialForm form, bool exact = false, const QString& cell = "A1") {
        QApplication::clipboard()->clear();
        guarded([&] { form1.polynomialCopy->copy(form, exact, cell); });
        return QApplication::clipboard()->text();
    }
    void solveAllOnes() {
        setPoints(form1, allOnesPoints(10));
        form1.btnGetCoefficients->click();
    }

    TForm1 form1;
};

TEST_F(PolynomialCopyTest, CopiesTheSolvedPolynomialInEachForm) {
    form1.btnGetCoefficients->click();
    EXPECT_EQ(copied(PolynomialForm::latex), "2 + 3x - 2x^{2} + x^{3}");
    EXPECT_EQ(copied(PolynomialForm::spreadsheet, false, "B2"), "=2+3*B2-2*B2^2+B2^3");
    EXPECT_EQ(copied(PolynomialForm::column), "A\t2\nB\t3\nC\t-2\nD\t1\n");
    EXPECT_TRUE(copied(PolynomialForm::python).startsWith("def f(x):"));
    EXPECT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
}

TEST_F(PolynomialCopyTest, CopiesTheExactValuesWhereTheCheckHasThem) {
    solveAllOnes();
    EXPECT_TRUE(copied(PolynomialForm::latex).startsWith("-627.78466796875 + 1754.4326171875x"))
        << "the shown values, as single precision left them";
    EXPECT_EQ(copied(PolynomialForm::latex, true),
              "1 + x + x^{2} + x^{3} + x^{4} + x^{5} + x^{6} + x^{7} + x^{8} + x^{9}");
}

TEST_F(PolynomialCopyTest, RefusesBeforeASolveAndAfterAFailedOne) {
    EXPECT_EQ(copied(PolynomialForm::latex), "");
    form1.btnGetCoefficients->click();
    form1.sgdResult->setCell(0, 4, "3"); // two rows share x = 3
    form1.btnGetCoefficients->click();
    EXPECT_EQ(copied(PolynomialForm::latex), "");
    EXPECT_EQ(copied(PolynomialForm::latex, true), "");
    ASSERT_EQ(errors().size(), 4);
    EXPECT_EQ(errors()[0], "Nothing to copy yet: GetCoefficients has not solved the points.");
    EXPECT_EQ(errors()[2], errors()[0]);
    form1.sgdResult->setCell(0, 4, "4");
    form1.btnGetCoefficients->click();
    form1.txtDegree->setText("3");
    form1.btnGenerate->click();
    EXPECT_EQ(copied(PolynomialForm::latex), "") << "Generate: the values are no solve's";
}

// Undo gives back whether the values shown are a solve's, with the values.
TEST_F(PolynomialCopyTest, UndoingTheSolveTakesBackWhatThereIsToCopy) {
    form1.btnGetCoefficients->click();
    TForm1State::undoStack(form1).undo();
    EXPECT_EQ(copied(PolynomialForm::latex), "");
    ASSERT_EQ(errors().size(), 1);
    EXPECT_EQ(errors()[0], "Nothing to copy yet: GetCoefficients has not solved the points.");
    TForm1State::undoStack(form1).redo();
    EXPECT_EQ(copied(PolynomialForm::latex), "2 + 3x - 2x^{2} + x^{3}");
}

TEST_F(PolynomialCopyTest, ResultAndTheCoefficientGridOfferEveryForm) {
    for (QWidget* owner :
         {static_cast<QWidget*>(form1.txtResult), static_cast<QWidget*>(form1.sdgCoefficients)})
        EXPECT_EQ(owner->contextMenuPolicy(), Qt::CustomContextMenu);
    const QMenu* gridMenu = form1.sdgCoefficients->findChild<QMenu*>();
    ASSERT_TRUE(gridMenu);
    QStringList titles;
    for (const QMenu* sub : gridMenu->findChildren<QMenu*>())
        titles << sub->title().remove('&');
    EXPECT_EQ(titles, (QStringList{"Copy as", "Copy exact values as"}));
    QStringList forms;
    for (QAction* action : gridMenu->findChildren<QMenu*>().first()->actions())
        forms << action->text().remove('&');
    EXPECT_EQ(forms, (QStringList{"LaTeX", "C and C++", "Python", "Spreadsheet formula…",
                                  "Coefficients column"}));
}

} // namespace
