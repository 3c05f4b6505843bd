#include "plot/function_plot.h"

#include "plot/chart_view.h"
#include "plot/line_samples.h"
#include "plot/value_marks.h"
#include "support/tarvel_test.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <QCategoryAxis>
#include <QChart>
#include <QCoreApplication>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QPointer>
#include <QValueAxis>

namespace {

class FunctionPlot : public TarvelTest {
  protected:
    void setCoefficients(const Texts& values) {
        Grid rows;
        for (size_t i = 0; i < values.size(); ++i)
            rows.push_back({std::string(1, char('A' + i)), values[i]});
        coefficients = tableOf(2, rows);
        degree = int(values.size()) - 1;
    }
    // Draws as the Draw button does; the message of the error that ended it, or "".
    std::string draw(const char* min, const char* max, const char* step) {
        try {
            drawFunction(chart(), min, max, step, coefficients, degree, rx, rfx);
        } catch (const Exception& error) {
            return error.what();
        }
        return "";
    }
    // Shows the chart at its laid-out size.
    void showView() {
        view.resize(553, 337);
        view.show();
    }
    // Shows the chart, draws into it, and lets it lay the line out.
    void drawShown(const char* min, const char* max, const char* step) {
        showView();
        draw(min, max, step);
        QCoreApplication::processEvents();
    }
    QChart& chart() { return *view.chart(); }
    // The one series of the chart; fails the test when there is not exactly one.
    QLineSeries* series() {
        const auto all = chart().series();
        EXPECT_EQ(all.size(), 1);
        return all.isEmpty() ? nullptr : qobject_cast<QLineSeries*>(all.first());
    }
    // Every sample drawn, whatever the series holds to show them.
    std::vector<double> values() {
        std::vector<double> ys;
        const LineSamples* samples = LineSamples::of(*series());
        if (!samples)
            return ys;
        for (qsizetype k = 0; k < samples->all().size(); ++k)
            ys.push_back(samples->valueAt(k));
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

    ChartView view{new QChart, nullptr};
    CellTable coefficients{2, 2};
    int degree = 3;
    std::string rx, rfx;
};

TEST_F(FunctionPlot, SamplesTheRangeAndMarksEveryPointItHasRoomFor) {
    setCoefficients({"2", "3", "-2", "1"});
    EXPECT_EQ(draw("0", "1000", "100"), "");
    EXPECT_EQ(chart().title(), "Tarvel");
    EXPECT_FALSE(chart().legend()->isVisible());
    EXPECT_EQ(series()->color(), QColor(Qt::red));
    EXPECT_EQ(markedPoints(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(series()->pointsVisible()) << "few points: each shows as a dot";
    EXPECT_EQ(labels(), (QStringList{"0", "100", "200", "300", "400", "500", "600", "700", "800",
                                     "900", "1000"}));
    const std::vector<double> ys = values();
    ASSERT_EQ(ys.size(), 11u);
    EXPECT_EQ(ys.front(), 2);
    EXPECT_EQ(ys[1], 980302);
    EXPECT_EQ(ys.back(), 998003002);
    EXPECT_EQ(series()->points()[3].x(), 3) << "point k stands at position k";
    EXPECT_EQ(rx, "1000");
    EXPECT_EQ(rfx, "998003002");
}

TEST_F(FunctionPlot, LabelsTheXsAsAddedUp) {
    setCoefficients({"2", "3", "-2", "1"});
    draw("0", "0.3", "0.1"); // 0.1 + 0.1 + 0.1 is 0.30000000000000004
    EXPECT_EQ(labels(), (QStringList{"0", "0.1", "0.2", "0.3"}));
    draw("1", "4", "0.3");
    EXPECT_EQ(labels(), (QStringList{"1", "1.3", "1.6", "1.9", "2.2", "2.5", "2.8", "3.1", "3.4",
                                     "3.7", "4"}));
    EXPECT_EQ(values()[1], 4.717);
}

TEST_F(FunctionPlot, NothingSampledLeavesAnEmptyTitledChartAndTheTexts) {
    rx = "rx";
    setCoefficients({"2", "3", "-2", "1"});
    EXPECT_EQ(draw("5", "4", "1"), "");
    EXPECT_EQ(chart().title(), "Tarvel");
    EXPECT_TRUE(values().empty());
    EXPECT_EQ(rx, "rx");
}

TEST_F(FunctionPlot, ASecondDrawDeletesTheFirstSeriesAndMarks) {
    setCoefficients({"2", "3", "-2", "1"});
    draw("0", "10", "1");
    QPointer<QLineSeries> first = series();
    QPointer<ValueMarks> firstMarks = ValueMarks::of(chart());
    draw("0", "10", "1");
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(firstMarks.isNull());
    EXPECT_EQ(chart().series().size(), 1);
}

TEST_F(FunctionPlot, ABlankCoefficientPlotsWhateverTheValueTextHolds) {
    setCoefficients({"2", "", "-2", "1"});
    rfx = "7";
    draw("0", "2", "1");
    EXPECT_EQ(values(), (std::vector<double>{7, 7, 7}));
    EXPECT_EQ(rx, "2");
    rfx = "";
    draw("0", "2", "1");
    EXPECT_TRUE(values().empty()) << "a blank value is not plotted";
}

TEST_F(FunctionPlot, ABadCoefficientEndsDrawAtTheFirstSample) {
    setCoefficients({"2", "3", "x", "1"});
    EXPECT_EQ(draw("3", "10", "1"),
              "Coefficients, row 3, C: '\u2068x\u2069' is not a valid floating point value");
    EXPECT_EQ(rx, "3");
    EXPECT_TRUE(values().empty());
}

TEST_F(FunctionPlot, ABadRangeTextEndsDrawAfterTheResetAndBeforeAnySample) {
    setCoefficients({"2", "3", "-2", "1"});
    draw("0", "10", "1");
    rx = "rx";
    for (const auto& [min, max, step] :
         {std::tuple{"0", "10", "one"}, {"zero", "10", "1"}, {"0", "ten", "1"}, {"0", "10", "0"}}) {
        EXPECT_NE(draw(min, max, step), "");
        EXPECT_EQ(chart().title(), "Tarvel");
        EXPECT_TRUE(values().empty());
        EXPECT_EQ(rx, "rx");
    }
}

TEST_F(FunctionPlot, AnOverflowEndsDrawWithTheTextsAndPointsOfTheLastGoodSample) {
    setCoefficients({"0", "0", "0", "1E300"});
    EXPECT_EQ(draw("1E2", "1E10", "1E9"), "Floating point overflow");
    EXPECT_EQ(values(), std::vector<double>{1e306});
    EXPECT_EQ(rx, "1000000100");
    EXPECT_EQ(rfx, "1E306");
}

TEST_F(FunctionPlot, ALongLineKeepsEverySampleButDrawsWhatThePlotCanShowApart) {
    setCoefficients({"0", "0", "0", "1"});
    showView();
    draw("-1", "1", "2E-5"); // 100,001 samples: one too many
    draw("-1", "0.99998", "2E-5");
    QCoreApplication::processEvents();
    ASSERT_EQ(values().size(), 100000u);
    const double width = view.chart()->plotArea().width();
    EXPECT_LE(series()->count(), qsizetype(4 * width + 2));
    EXPECT_EQ(series()->points().first(), QPointF(0, -1)) << "the line starts";
    EXPECT_EQ(series()->points().last().x(), 99999) << "and ends where it did";
    view.chart()->zoom(100);
    QCoreApplication::processEvents();
    const auto* axisX = qobject_cast<QValueAxis*>(view.chart()->axes(Qt::Horizontal).first());
    EXPECT_LE(series()->count(), qsizetype(axisX->max() - axisX->min()) + 4)
        << "zoomed in, every visible sample";
    EXPECT_EQ(values().size(), 100000u);
}

// The reduced line looks as the full one does: both rendered, in every pixel
// column the line covers the same rows, give or take the shading of an edge.
TEST_F(FunctionPlot, TheReducedLineLooksAsTheFullLineDoes) {
    setCoefficients({"0", "3", "0", "-4"});
    drawShown("-1", "0.99998", "2E-5");
    // The rows the red line covers in each pixel column: (top, bottom), or (-1, -1).
    const auto lineRows = [&] {
        QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        view.render(&painter);
        std::vector<std::pair<int, int>> rows(size_t(image.width()), {-1, -1});
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 160 && c.green() < 120 && c.blue() < 120) {
                    if (rows[size_t(x)].first < 0)
                        rows[size_t(x)].first = y;
                    rows[size_t(x)].second = y;
                }
            }
        return rows;
    };
    for (const double zoom : {1.0, 3.0}) {
        view.chart()->zoomReset();
        view.chart()->zoom(zoom);
        QCoreApplication::processEvents();
        const auto reduced = lineRows();
        const QList<QPointF> drawn = series()->points();
        series()->replace(LineSamples::of(*series())->all());
        const auto full = lineRows();
        series()->replace(drawn);
        int differing = 0;
        for (size_t x = 0; x < full.size(); ++x)
            differing += std::abs(full[x].first - reduced[x].first) > 1 ||
                         std::abs(full[x].second - reduced[x].second) > 1;
        EXPECT_LE(differing, 5) << "zoom " << zoom; // of 553 columns
    }
}

TEST_F(FunctionPlot, ManyPointsAreAllPlottedWithAReadableSubsetOfLabels) {
    setCoefficients({"2", "3", "-2", "1"});
    draw("0", "999", "1");
    EXPECT_EQ(values().size(), 1000u);
    EXPECT_LE(labels().size(), 13);
    ASSERT_FALSE(labels().isEmpty());
    ASSERT_FALSE(markedPoints().empty());
    EXPECT_FALSE(series()->pointsVisible()) << "too many for dots";
    EXPECT_EQ(labels().first(), "0");
    EXPECT_EQ(labels().last(), "999");
    EXPECT_EQ(markedPoints().size(), size_t(labels().size()));
    EXPECT_EQ(markedPoints().back(), 999);
}

TEST_F(FunctionPlot, TheXLabelsStayReadableAfterAnyZoom) {
    setCoefficients({"2", "3", "-2", "1"});
    drawShown("0", "999", "1");
    const auto* axisX = qobject_cast<QCategoryAxis*>(view.chart()->axes(Qt::Horizontal).first());
    view.chart()->zoom(20);
    QCoreApplication::processEvents();
    const QStringList zoomedIn = labels();
    EXPECT_GE(zoomedIn.size(), 3) << "labels for the points in view";
    EXPECT_LE(zoomedIn.size(), 13);
    for (const QString& label : zoomedIn)
        EXPECT_TRUE(label.toDouble() >= axisX->min() - 1 && label.toDouble() <= axisX->max() + 1)
            << label.toStdString();
    view.chart()->zoomReset();
    view.chart()->zoom(0.2);
    QCoreApplication::processEvents();
    EXPECT_LE(labels().size(), 13) << "zoomed out, no more than fit";
    EXPECT_EQ(labels().last(), "999");
}

// f(x) = x over the widest range a double holds: the chart cannot map a
// range wider than the largest double, so the line is drawn in quarters, and
// still rises across the whole plot with whole values on its axis.
TEST_F(FunctionPlot, ARangeWiderThanTheLargestDoubleIsDrawnWhole) {
    setCoefficients({"0", "1"});
    drawShown("-1.7E308", "1.7E308", "1E306");
    const std::vector<double> ys = values();
    ASSERT_EQ(ys.size(), 341u);
    EXPECT_EQ(ys.front(), -1.7e308) << "the values as the function gives them";
    const QRectF area = chart().plotArea();
    const QPointF first = chart().mapToPosition(series()->points().first(), series());
    const QPointF last = chart().mapToPosition(series()->points().last(), series());
    EXPECT_GT(first.y() - last.y(), area.height() / 2) << "a rising line, not a flat one";
    const QStringList yLabels =
        qobject_cast<QCategoryAxis*>(chart().axes(Qt::Vertical).first())->categoriesLabels();
    ASSERT_GE(yLabels.size(), 2);
    for (const QString& label : yLabels)
        EXPECT_EQ(FloatToStr(StrToFloat(label.toStdString())), label.toStdString());
    EXPECT_TRUE(yLabels.contains("0"));
    const auto marks = ValueMarks::of(chart())->placedMarks(QFont());
    ASSERT_FALSE(marks.empty());
    EXPECT_EQ(marks.front().text, "-1.7E308");
}

// Value marks read as the axes do ("1111110000", never "1.11111e+09"), stay
// over the plot and clear of each other.
TEST_F(FunctionPlot, ValueMarksAreWrittenAsTheAxesWriteAndNeverOverlap) {
    setCoefficients({"1111111111", "-1E300"});
    drawShown("0", "1", "0.5");
    const ValueMarks* marks = ValueMarks::of(chart());
    ASSERT_TRUE(marks);
    const auto placed = marks->placedMarks(QFont());
    ASSERT_FALSE(placed.empty());
    EXPECT_EQ(placed.front().text, "1111110000");
    EXPECT_EQ(placed.back().text, "-1E300");
    // A steep line of many close points: every mark that shows stands apart.
    setCoefficients({"0", "0", "0", "1"});
    drawShown("-10", "10", "0.5");
    const auto crowded = ValueMarks::of(chart())->placedMarks(QFont());
    const QRectF area = chart().plotArea();
    for (size_t a = 0; a < crowded.size(); ++a) {
        EXPECT_GE(crowded[a].place.left(), area.left()) << crowded[a].text.toStdString();
        EXPECT_LE(crowded[a].place.right(), area.right()) << crowded[a].text.toStdString();
        EXPECT_GE(crowded[a].place.top(), area.top()) << crowded[a].text.toStdString();
        EXPECT_LE(crowded[a].place.bottom(), area.bottom()) << crowded[a].text.toStdString();
        for (size_t b = a + 1; b < crowded.size(); ++b)
            EXPECT_FALSE(crowded[a].place.intersects(crowded[b].place))
                << crowded[a].text.toStdString() << " and " << crowded[b].text.toStdString();
    }
}

// The marks' bounds follow the plot area, which moves with every Draw as the
// axis labels change width; the scene must hear of each move, or it paints
// from an index that still holds deleted marks.
TEST_F(FunctionPlot, RedrawingAShownChartManyTimesIsSafe) {
    showView();
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
