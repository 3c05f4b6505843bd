#include "support/tarvel_test.h"

#include "plot/chart_view.h"

#include "model/evaluation.h"
#include "plot/value_marks.h"

#include <QCategoryAxis>
#include <QChart>
#include <QCoreApplication>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

namespace {

using Texts = std::vector<std::string>;

class EvaluationAndPlot : public TarvelTest {
  protected:
    void setCoefficients(const Texts& values) {
        for (size_t i = 0; i < values.size(); ++i)
            form.sdgCoefficients->setCell(1, int(i) + 1, values[i]);
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
    QChart& chart() { return *form.Chart1->chart(); }
    // The one series of the chart; fails the test when there is not exactly one.
    QLineSeries* series() {
        const auto all = chart().series();
        EXPECT_EQ(all.size(), 1);
        return all.isEmpty() ? nullptr : qobject_cast<QLineSeries*>(all.first());
    }
    std::vector<double> values() {
        std::vector<double> ys;
        for (const QPointF& point : series()->points())
            ys.push_back(point.y());
        return ys;
    }
    // The points whose value is marked on the chart.
    std::vector<int> markedPoints() {
        const ValueMarks* marks = ValueMarks::of(chart());
        EXPECT_TRUE(marks);
        return marks ? marks->pointIndices() : std::vector<int>();
    }
    QStringList labels() {
        const auto axes = chart().axes(Qt::Horizontal);
        return axes.isEmpty() ? QStringList()
                              : qobject_cast<QCategoryAxis*>(axes.first())->categoriesLabels();
    }
    void switchPage() { form.Tarvel->setCurrentIndex(1 - form.Tarvel->currentIndex()); }
    QStringList range() const {
        return {form.txtMin->text(), form.txtMax->text(), form.txtStep->text()};
    }

    TForm1 form;
};

// f(x)

TEST_F(EvaluationAndPlot, FxEvaluatesTheFittedPolynomial) {
    setCoefficients({"2", "3", "-2", "1"});
    EXPECT_EQ(fx("5"), "92");
    EXPECT_EQ(fx("0"), "2");
    EXPECT_EQ(fx("1"), "4");
    EXPECT_EQ(fx("2"), "8");
    EXPECT_EQ(fx("3"), "20");
    EXPECT_EQ(fx("4"), "46");
    EXPECT_EQ(fx(" -1.5 "), "-10.375");
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(EvaluationAndPlot, FxChangesNothingWhileACoefficientIsBlank) {
    form.txtRfx->setText("kept");
    EXPECT_EQ(fx("5"), "kept") << "right after start the values are empty";
    setCoefficients({"2", "3", "   ", "1"});
    EXPECT_EQ(fx("5"), "kept");
    EXPECT_EQ(fx("not even a number"), "kept") << "x is read only when every value is there";
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(EvaluationAndPlot, FxReportsTheLowestBadCellEvenBelowABlankOne) {
    form.txtRfx->setText("kept");
    setCoefficients({"", "2", "abc", "x"});
    EXPECT_EQ(fx("5"), "kept");
    EXPECT_EQ(errors(), QStringList{"Coefficients, row 3, C: '\u2068abc\u2069' is not a valid floating point value"});
}

TEST_F(EvaluationAndPlot, FxReadsXLastAndKeepsTheOldValueOnError) {
    setCoefficients({"2", "3", "-2", "1"});
    fx("5");
    EXPECT_EQ(fx(""), "92");
    EXPECT_EQ(fx("five"), "92");
    EXPECT_EQ(errors(), (QStringList{"'\u2068\u2069' is not a valid floating point value",
                                     "'\u2068five\u2069' is not a valid floating point value"}));
}

TEST_F(EvaluationAndPlot, FxAtDegreeZeroShowsTheConstantReformatted) {
    form.txtDegree->setText("0");
    form.btnGenerate->click();
    setCoefficients({"2.50"});
    EXPECT_EQ(fx("123"), "2.5");
    EXPECT_EQ(fx("x"), "2.5");
    EXPECT_EQ(errors().size(), 1);
}

TEST_F(EvaluationAndPlot, FxUsesOnlyTheRowsOfTheCurrentDegree) {
    setCoefficients({"2", "3", "-2", "1"});
    form.txtDegree->setText("1");
    form.btnGenerate->click();
    EXPECT_EQ(fx("10"), "32");
}

TEST_F(EvaluationAndPlot, FxWithoutATemplateDoesNothing) {
    setCoefficients({"2", "3", "-2", "1"});
    form.txtDegree->setText("abc");
    form.btnGenerate->click();
    form.txtRfx->setText("kept");
    EXPECT_EQ(fx("5"), "kept");
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(EvaluationAndPlot, FxRefusesAnInfiniteValue) {
    setCoefficients({"0", "0", "0", "1E300"});
    form.txtRfx->setText("kept");
    EXPECT_EQ(fx("1E10"), "kept");
    EXPECT_EQ(errors(), QStringList{"Floating point overflow"});
}

TEST(Poly, IsHornersRule) {
    const double coefficients[] = {2, 3, -2, 1};
    EXPECT_EQ(poly(5, 3, coefficients), 92);
    EXPECT_EQ(poly(0.5, 0, coefficients), 2);
    // Horner's order of rounding: ((1 * 0.1 + -2) * 0.1 + 3) * 0.1 + 2
    EXPECT_EQ(poly(0.1, 3, coefficients), ((1 * 0.1 + -2) * 0.1 + 3) * 0.1 + 2);
}

// Draw

TEST_F(EvaluationAndPlot, DrawsTheInitialRange) {
    setCoefficients({"2", "3", "-2", "1"});
    form.btnDraw->click();
    EXPECT_TRUE(errors().isEmpty());
    EXPECT_EQ(chart().title(), "Tarvel");
    EXPECT_FALSE(chart().legend()->isVisible());
    EXPECT_EQ(series()->color(), QColor(Qt::red));
    EXPECT_EQ(markedPoints(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(labels(), (QStringList{"0", "100", "200", "300", "400", "500", "600", "700", "800",
                                     "900", "1000"}));
    const std::vector<double> ys = values();
    ASSERT_EQ(ys.size(), 11u);
    EXPECT_EQ(ys.front(), 2);
    EXPECT_EQ(ys[1], 980302);
    EXPECT_EQ(ys.back(), 998003002);
    EXPECT_EQ(series()->points()[3].x(), 3) << "point k stands at position k";
    EXPECT_EQ(form.txtRX->text(), "1000");
    EXPECT_EQ(form.txtRfx->text(), "998003002");
}

TEST_F(EvaluationAndPlot, AddsStepRepeatedlyAndKeepsMaxWhenOnlyRoundingPassesIt) {
    setCoefficients({"2", "3", "-2", "1"});
    draw("0", "0.3", "0.1"); // 0.1 + 0.1 + 0.1 is 0.30000000000000004
    EXPECT_EQ(labels(), (QStringList{"0", "0.1", "0.2", "0.3"}));
    draw("0", "7", "0.7"); // ten additions of 0.7 pass 7 by one ulp
    EXPECT_EQ(values().size(), 11u);
    EXPECT_EQ(labels().last(), "7");
    draw("0", "0.35", "0.1"); // 0.4 is truly past Max
    EXPECT_EQ(labels().last(), "0.3");
    draw("0", "1", "0.1");
    EXPECT_EQ(values().size(), 11u);
    EXPECT_EQ(labels().last(), "1");
    EXPECT_EQ(form.txtRX->text(), "1");
}

TEST_F(EvaluationAndPlot, DrawsTheProposedRangeOfTheDefaultPoints) {
    form.btnGetCoefficients->click();
    switchPage();
    EXPECT_EQ(range(), (QStringList{"1", "4", "0.3"}));
    form.btnDraw->click();
    EXPECT_EQ(labels(), (QStringList{"1", "1.3", "1.6", "1.9", "2.2", "2.5", "2.8", "3.1", "3.4",
                                     "3.7", "4"}));
    const std::vector<double> ys = values();
    ASSERT_EQ(ys.size(), 11u);
    EXPECT_EQ(ys[0], 4);
    EXPECT_EQ(ys[1], 4.717);
    EXPECT_EQ(ys[10], 46);
}

TEST_F(EvaluationAndPlot, DrawsOnePointWhenMinEqualsMax) {
    setCoefficients({"2", "3", "-2", "1"});
    draw("5", "5", "1");
    EXPECT_EQ(values(), std::vector<double>{92});
}

TEST_F(EvaluationAndPlot, DrawsAnEmptyTitledChartWhenNothingIsSampled) {
    form.btnDraw->click(); // right after start: no values, nothing to plot
    EXPECT_TRUE(values().empty());
    EXPECT_EQ(form.txtRX->text(), "1000") << "every sample still passes through txtRX";
    form.txtRX->setText("rx");
    setCoefficients({"2", "3", "-2", "1"});
    draw("5", "4", "1");
    EXPECT_EQ(chart().title(), "Tarvel");
    EXPECT_TRUE(values().empty());
    EXPECT_EQ(form.txtRX->text(), "rx");
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(EvaluationAndPlot, ASecondDrawDeletesTheFirstSeries) {
    setCoefficients({"2", "3", "-2", "1"});
    form.btnDraw->click();
    QPointer<QLineSeries> first = series();
    QPointer<ValueMarks> firstMarks = ValueMarks::of(chart());
    form.btnDraw->click();
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(firstMarks.isNull());
    EXPECT_EQ(chart().series().size(), 1);
}

TEST_F(EvaluationAndPlot, ABlankCoefficientPlotsWhateverTxtRfxHolds) {
    form.txtRfx->setText("7");
    draw("0", "2", "1");
    EXPECT_EQ(values(), (std::vector<double>{7, 7, 7}));
    EXPECT_EQ(form.txtRX->text(), "2");
}

TEST_F(EvaluationAndPlot, ABadCoefficientEndsDrawAtTheFirstSample) {
    setCoefficients({"2", "3", "x", "1"});
    draw("3", "10", "1");
    EXPECT_EQ(errors(), QStringList{"Coefficients, row 3, C: '\u2068x\u2069' is not a valid floating point value"});
    EXPECT_EQ(form.txtRX->text(), "3");
    EXPECT_TRUE(values().empty());
}

TEST_F(EvaluationAndPlot, ABadRangeBoxEndsDrawAfterTheReset) {
    setCoefficients({"2", "3", "-2", "1"});
    form.txtRX->setText("rx");
    draw("0", "10", "one");
    draw("zero", "10", "1");
    draw("0", "ten", "1");
    EXPECT_EQ(errors().size(), 3);
    EXPECT_EQ(chart().title(), "Tarvel");
    EXPECT_TRUE(values().empty());
    EXPECT_EQ(form.txtRX->text(), "rx");
}

TEST_F(EvaluationAndPlot, DrawAlwaysEndsAndSaysHowManySamplesARangeNeeds) {
    setCoefficients({"2", "3", "-2", "1"});
    form.txtRX->setText("rx");
    draw("0", "10", "0");
    draw("0", "10", "-1");
    draw("0", "2", "1E-5");
    draw("0", "1", "1E-5"); // 100001 samples: one more than may be drawn
    draw("-1E308", "1E308", "1E300");
    draw("1E17", "100000000000001000", "1");
    EXPECT_EQ(errors(),
              (QStringList{"Step must be greater than 0", "Step must be greater than 0",
                           "Too many samples: the range needs 200001; at most 100000 can be drawn",
                           "Too many samples: the range needs 100001; at most 100000 can be drawn",
                           "Too many samples: the range needs 200000001; at most 100000 can be "
                           "drawn",
                           "Step 1 is too small to move x on from 1E17"}));
    EXPECT_TRUE(values().empty());
    EXPECT_EQ(form.txtRX->text(), "rx") << "a refused range samples nothing";
    draw("10", "0", "0");
    EXPECT_EQ(errors().size(), 6) << "nothing to sample, so any step will do";
}

TEST_F(EvaluationAndPlot, DrawsTheWidestRangesWithoutOverflow) {
    setCoefficients({"0", "1", "0", "0"});
    draw("-1E308", "1E308", "1E305");
    EXPECT_TRUE(errors().isEmpty());
    EXPECT_EQ(values().size(), 2001u);
    EXPECT_EQ(form.txtRX->text(), "9.99999999999998E307") << "2000 additions of Step";
    draw("0", "0.99999", "1E-5");
    EXPECT_EQ(values().size(), 100000u) << "exactly as many as may be drawn";
}

TEST_F(EvaluationAndPlot, AnOverflowEndsDrawWithTheBoxesOfTheLastGoodSample) {
    setCoefficients({"0", "0", "0", "1E300"});
    draw("1E2", "1E10", "1E9");
    EXPECT_EQ(errors(), QStringList{"Floating point overflow"});
    EXPECT_EQ(values(), std::vector<double>{1e306});
    EXPECT_EQ(form.txtRX->text(), "1000000100");
    EXPECT_EQ(form.txtRfx->text(), "1E306");
}

TEST_F(EvaluationAndPlot, ManyPointsAreAllPlottedWithAReadableSubsetOfLabels) {
    setCoefficients({"2", "3", "-2", "1"});
    draw("0", "999", "1");
    EXPECT_EQ(values().size(), 1000u);
    EXPECT_LE(labels().size(), 13);
    EXPECT_EQ(labels().first(), "0");
    EXPECT_EQ(labels().last(), "999");
    EXPECT_EQ(markedPoints().size(), size_t(labels().size()));
    EXPECT_EQ(markedPoints().back(), 999);
}

// The range proposed on every page switch

TEST_F(EvaluationAndPlot, ProposesTheRangeOfTheDefaultPointsOnEverySwitch) {
    switchPage();
    EXPECT_EQ(range(), (QStringList{"1", "4", "0.3"}));
    form.txtMin->setText("typed");
    switchPage();
    EXPECT_EQ(range(), (QStringList{"1", "4", "0.3"}));
}

struct RangeCase {
    Texts xs;
    QStringList expected;
};

class RangeProposal : public EvaluationAndPlot, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RangeProposal, TakesTheSmallestAndLargestX) {
    form.txtDegree->setText("4");
    form.btnGenerate->click();
    form.btnClear->click();
    for (size_t i = 0; i < GetParam().xs.size(); ++i)
        form.sgdResult->setCell(0, int(i) + 1, GetParam().xs[i]);
    switchPage();
    EXPECT_EQ(range(), GetParam().expected);
    EXPECT_TRUE(errors().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RangeProposal,
    ::testing::Values(RangeCase{{"-2", "5", "0.5"}, {"-2", "5", "0.7"}},
                      RangeCase{{"0.5", "", "5", "-2"}, {"-2", "5", "0.7"}},
                      RangeCase{{"", "  ", " 3 ", "\t"}, {"3", "3", "0"}},
                      RangeCase{{"2", "2", "2"}, {"2", "2", "0"}},
                      RangeCase{{"5.7", "6.6"}, {"5.7", "6.6", "0.0899999999999999"}},
                      RangeCase{{"-905228.053408129", "279992.714558556"},
                                {"-905228.053408129", "279992.714558556", "118522.076796668"}},
                      RangeCase{{}, {"0", "1000", "100"}}));

TEST_F(EvaluationAndPlot, RangeCountsRowsByTheirXCellOnly) {
    form.sgdResult->setCell(1, 1, "");  // x 1 with a blank f(x): counts
    form.sgdResult->setCell(0, 4, " "); // a blank x with f(x) 46: does not
    switchPage();
    EXPECT_EQ(range(), (QStringList{"1", "3", "0.2"}));
}

TEST_F(EvaluationAndPlot, ABadXCellLeavesAllThreeBoxesOnEverySwitch) {
    form.sgdResult->setCell(0, 4, "four");
    switchPage();
    switchPage();
    EXPECT_EQ(range(), (QStringList{"0", "1000", "100"}));
    EXPECT_EQ(errors().size(), 2);
    EXPECT_EQ(errors().first(), "Points, row 4, x: '\u2068four\u2069' is not a valid floating point value");
}

// The marks' bounds follow the plot area, which moves with every Draw as the
// axis labels change width; the scene must hear of each move, or it paints
// from an index that still holds deleted marks.
TEST_F(EvaluationAndPlot, RedrawingAShownChartManyTimesIsSafe) {
    form.show();
    form.Tarvel->setCurrentIndex(1);
    const char* values[] = {"1", "-2646", "1E15", "0.001", "-7", "123456789", "1E-9", "5"};
    const char* ranges[][3] = {
        {"42", "48", "10"}, {"0", "10", "1"}, {"-5", "5", "0.5"}, {"1", "1", "1"}};
    for (int i = 0; i < 120; ++i) {
        setCoefficients(
            {values[i % 8], values[(i / 8) % 8], values[(i / 3) % 8], values[(i / 5) % 8]});
        draw(ranges[i % 4][0], ranges[i % 4][1], ranges[i % 4][2]);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(chart().series().size(), 1);
}

} // namespace
