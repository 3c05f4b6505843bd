#include "plot/line_samples.h"

#include "plot/chart_view.h"
#include "support/tarvel_test.h"

#include <QChart>
#include <QCoreApplication>
#include <QLineSeries>
#include <QValueAxis>

namespace {

using LineSamplesTest = TarvelTest;

// A flat line of 100,000 samples with one spike up and one down: however few
// points the series keeps, it keeps both.
TEST_F(LineSamplesTest, AReducedLineKeepsEverySpike) {
    ChartView view(new QChart, nullptr);
    view.resize(553, 337);
    view.show();
    QList<QPointF> samples;
    for (int k = 0; k < 100000; ++k)
        samples.append(QPointF(k, k == 31337 ? 100 : k == 77777 ? -100 : 0));
    auto* series = new QLineSeries;
    view.chart()->addSeries(series);
    view.chart()->createDefaultAxes();
    auto* axisX = qobject_cast<QValueAxis*>(view.chart()->axes(Qt::Horizontal).first());
    axisX->setRange(0, 99999);
    QCoreApplication::processEvents();
    const LineSamples* line = new LineSamples(*view.chart(), *series, samples);
    EXPECT_EQ(LineSamples::of(*series), line);
    EXPECT_EQ(line->all().size(), 100000);
    EXPECT_LT(series->count(), 4 * 553);
    EXPECT_TRUE(series->points().contains(QPointF(31337, 100)));
    EXPECT_TRUE(series->points().contains(QPointF(77777, -100)));
    axisX->setRange(31000, 31100); // zoomed in: every visible sample
    EXPECT_EQ(series->points().first(), QPointF(30999, 0));
    EXPECT_EQ(series->count(), 103);
}

} // namespace
