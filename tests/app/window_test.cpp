#include "support/tarvel_test.h"

#include "fitting/fit_kind.h"
#include "plot/chart_view.h"
#include "plot/fit_bands.h"
#include "toolkit/error_display.h"

#include <QChart>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QXYSeries>

namespace {

using Texts = std::vector<std::string>;
using WindowTest = TarvelTest;
using Boxes = std::pair<QString, QString>;

TEST_F(WindowTest, ShowsTheDegreeThreeTemplateAndTheFourDefaultPoints) {
    TForm1 form;
    EXPECT_EQ(form.windowTitle(), "Tarvel");
    EXPECT_EQ(form.size(), QSize(574, 597));
    EXPECT_EQ(form.txtDegree->text(), "3");
    EXPECT_EQ(form.txtFx1->text(), "A + Bx^1 + Cx^2 + Dx^3");
    EXPECT_EQ(form.txtFx2->text(), "((Dx + C)x + B)x + A");
    EXPECT_EQ(rowTexts(form.sgdResult->cells(), 0), (Texts{"x", "f(x)"}));
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 0), (Texts{"1", "2", "3", "4"}));
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 1), (Texts{"4", "8", "20", "46"}));
    EXPECT_EQ(rowTexts(form.sdgCoefficients->cells(), 0), (Texts{"", "Coefficients"}));
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 0), (Texts{"A", "B", "C", "D"}));
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 1), (Texts{"", "", "", ""}));
    EXPECT_EQ(form.sgdAns1->cells().rowCount(), 2);
    EXPECT_EQ(rowTexts(form.sgdAns1->cells(), 0), (Texts{"Answer", "A", "B", "C", "D"}));
    EXPECT_EQ(rowTexts(form.sgdAns1->cells(), 1), (Texts{"", "", "", "", ""}));
    for (QLineEdit* empty : {form.txtResult, form.txtRX, form.txtRfx, form.txtX, form.txtFx})
        EXPECT_EQ(empty->text(), "") << empty->objectName().toStdString();
    EXPECT_EQ(form.Tarvel->currentWidget(), form.TabSheet1);
    EXPECT_EQ(form.txtMin->text(), "0");
    EXPECT_EQ(form.txtMax->text(), "1000");
    EXPECT_EQ(form.txtStep->text(), "100");
    EXPECT_EQ(form.Chart1->chart()->title(), "TChart");
    EXPECT_TRUE(form.Chart1->chart()->series().isEmpty());
    EXPECT_EQ(TForm1State::pointCount(form), 0);
    EXPECT_EQ(TForm1State::degree(form), 3);
    EXPECT_EQ(TForm1State::coefNames(form), (Texts{"A", "B", "C", "D"}));
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(WindowTest, ClosesWithoutAQuestion) {
    TForm1 form;
    form.show();
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
}

// What each handler reads from the controls and writes back into them.

class WindowBindings : public TarvelTest {
  protected:
    void generate(const char* degreeText) {
        form.txtDegree->setText(degreeText);
        form.btnGenerate->click();
    }
    void add(const char* x, const char* fx) {
        form.txtX->setText(x);
        form.txtFx->setText(fx);
        form.btnAdd->click();
    }
    QString fx(const QString& x) {
        form.txtRX->setText(x);
        form.btnFx->click();
        return form.txtRfx->text();
    }
    void draw(const QString& min, const QString& max, const QString& step) {
        form.txtMin->setText(min);
        form.txtMax->setText(max);
        form.txtStep->setText(step);
        form.btnDraw->click();
    }
    void setCoefficients(const Texts& values) {
        for (size_t i = 0; i < values.size(); ++i)
            form.sdgCoefficients->setCell(1, int(i) + 1, values[i]);
    }
    Boxes boxes() const { return {form.txtX->text(), form.txtFx->text()}; }
    QStringList range() const {
        return {form.txtMin->text(), form.txtMax->text(), form.txtStep->text()};
    }
    void switchPage() { form.Tarvel->setCurrentIndex(1 - form.Tarvel->currentIndex()); }
    qsizetype plotted() const {
        return qobject_cast<QXYSeries*>(form.Chart1->chart()->series().first())->count();
    }

    TForm1 form;
};

TEST_F(WindowBindings, GenerateWritesTheDegreeAndBothFormsOrSaysWhyNot) {
    generate("2");
    EXPECT_EQ(TForm1State::degree(form), 2);
    EXPECT_EQ(form.txtFx1->text(), "A + Bx^1 + Cx^2");
    EXPECT_EQ(form.txtFx2->text(), "(Cx + B)x + A");
    generate("191");
    EXPECT_EQ(errors(), QStringList{"Degree 191 is too large: the largest degree is 190"});
    EXPECT_EQ(TForm1State::degree(form), 2);
    EXPECT_EQ(form.txtFx1->text(), "A + Bx^1 + Cx^2");
    generate("abc");
    EXPECT_EQ(TForm1State::degree(form), -1);
    EXPECT_EQ(form.txtFx1->text(), "");
}

TEST_F(WindowBindings, AddMovesOnAndLoadsTheBoxesWithTheRowItReaches) {
    form.sgdResult->setRow(4);
    form.btnDel->click();
    EXPECT_EQ(TForm1State::pointCount(form), -1);
    add("5", "92");
    EXPECT_EQ(form.sgdResult->cells().cell(0, 4), "5");
    EXPECT_EQ(form.sgdResult->row(), 1);
    EXPECT_EQ(boxes(), Boxes("1", "4"));
    form.btnClear->click();
    EXPECT_EQ(form.sgdResult->row(), 1) << "Clear leaves the current cell";
    EXPECT_EQ(boxes(), Boxes("1", "4")) << "and the boxes";
    add("1", "4");
    EXPECT_EQ(form.sgdResult->row(), 2);
    EXPECT_EQ(boxes(), Boxes("", ""));
}

TEST_F(WindowBindings, ClickingEitherCellOfARowLoadsBothBoxes) {
    ASSERT_TRUE(showActive(form));
    StringGrid& grid = *form.sgdResult;
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(2, 1)).center());
    EXPECT_EQ(boxes(), Boxes("3", "20"));
    grid.setCell(0, 3, "30"); // typed into the grid: the boxes wait for a selection
    EXPECT_EQ(boxes(), Boxes("3", "20"));
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(boxes(), Boxes("30", "20"));
}

TEST_F(WindowBindings, FxWritesTheValueAndKeepsTheOldOneWhenThereIsNone) {
    form.txtRfx->setText("kept");
    EXPECT_EQ(fx("5"), "kept") << "right after start the values are empty";
    setCoefficients({"2", "3", "-2", "1"});
    EXPECT_EQ(fx("5"), "92");
    EXPECT_EQ(fx("five"), "92");
    EXPECT_EQ(errors(), QStringList{"'\u2068five\u2069' is not a valid floating point value"});
    generate("1");
    EXPECT_EQ(fx("10"), "32") << "the degree that Generate set";
}

TEST_F(WindowBindings, XForFxReadsTheFxBoxAndTheDrawnRangeAndAnswersBeside) {
    setCoefficients({"2", "3", "-2", "1"});
    form.txtMin->setText("0");
    form.txtMax->setText("10");
    form.txtRfx->setText("92");
    form.btnXForFx->click();
    EXPECT_EQ(form.txtXForFx->text(), "x = 5");
    EXPECT_TRUE(form.txtXForFx->isReadOnly());
    EXPECT_EQ(fx("5"), "92") << "and back";
    form.txtRfx->setText("-1");
    form.btnXForFx->click();
    EXPECT_EQ(form.txtXForFx->text(), "No x in the drawn range gives f(x) = -1.");
    form.txtRfx->setText("y");
    form.btnXForFx->click();
    EXPECT_EQ(errors(), QStringList{"'\u2068y\u2069' is not a valid floating point value"});
    EXPECT_EQ(form.txtXForFx->text(), "No x in the drawn range gives f(x) = -1.");
}

TEST_F(WindowBindings, TheBandLevelRedrawsTheBandsAndSetsTheIntervalsOfXForFx) {
    form.switchFit(FitKind::leastSquares());
    generate("2");
    form.btnGetCoefficients->click();
    draw("0", "5", "0.5");
    const FitBands* bands = FitBands::of(*form.Chart1->chart());
    ASSERT_NE(bands, nullptr);
    EXPECT_EQ(bands->legend(), "- - 95 % confidence band   · · 95 % prediction band");
    const double width95 = bands->edges().predictionHigh[5] - bands->edges().predictionLow[5];
    form.Chart1->setBandLevel("0.5");
    bands = FitBands::of(*form.Chart1->chart());
    ASSERT_NE(bands, nullptr);
    EXPECT_EQ(bands->legend(), "- - 50 % confidence band   · · 50 % prediction band");
    EXPECT_LT(bands->edges().predictionHigh[5] - bands->edges().predictionLow[5], width95);
    form.txtRfx->setText("20");
    form.btnXForFx->click();
    EXPECT_TRUE(form.txtXForFx->text().contains(" (50 % interval "))
        << form.txtXForFx->text().toStdString();
    EXPECT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
    guarded([&] { form.Chart1->setBandLevel("1"); });
    EXPECT_EQ(errors(), QStringList{"A band level lies between 0 and 1, as 0.95 for 95 % bands; "
                                    "1 does not."});
    EXPECT_EQ(form.Chart1->bandLevel(), 0.5);
}

TEST_F(WindowBindings, DrawReadsTheRangeBoxesAndShowsTheLastSampleInTheResultBoxes) {
    setCoefficients({"2", "3", "-2", "1"});
    form.btnDraw->click();
    EXPECT_EQ(plotted(), 11);
    EXPECT_EQ(form.txtRX->text(), "1000");
    EXPECT_EQ(form.txtRfx->text(), "998003002");
    setCoefficients({"0", "0", "0", "1E300"});
    draw("1E2", "1E10", "1E9");
    EXPECT_EQ(errors(), QStringList{"Floating point overflow"});
    EXPECT_EQ(plotted(), 1);
    EXPECT_EQ(form.txtRX->text(), "1000000100") << "also when an error ends Draw";
    EXPECT_EQ(form.txtRfx->text(), "1E306");
}

TEST_F(WindowBindings, EveryPageSwitchProposesTheRangeOfThePoints) {
    switchPage();
    EXPECT_EQ(range(), (QStringList{"1", "4", "0.3"}));
    form.txtMin->setText("typed");
    switchPage();
    EXPECT_EQ(range(), (QStringList{"1", "4", "0.3"}));
    form.btnClear->click();
    switchPage();
    EXPECT_EQ(range(), (QStringList{"1", "4", "0.3"})) << "no points, no proposal";
}

TEST_F(WindowBindings, ABadXCellLeavesAllThreeRangeBoxesOnEverySwitch) {
    form.sgdResult->setCell(0, 4, "four");
    switchPage();
    switchPage();
    EXPECT_EQ(range(), (QStringList{"0", "1000", "100"}));
    EXPECT_EQ(errors().size(), 2);
}

} // namespace
