#include "plot/chart_view.h"

#include "plot/function_plot.h"
#include "support/tarvel_test.h"
#include "toolkit/conversions.h"

#include <QCategoryAxis>
#include <QChart>
#include <QDomDocument>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

#include <cmath>

namespace {

class ChartViewTest : public TarvelTest {
  protected:
    // Draws A + Bx at x = 0 and 1 into a shown chart.
    void draw(const char* a, const char* b) {
        const CellTable line = tableOf(2, {{"A", a}, {"B", b}});
        std::string rx, rfx;
        drawFunction(*view.chart(), "0", "1", "1", line, 1, rx, rfx);
        QCoreApplication::processEvents();
    }
    QValueAxis& axisY() {
        return *qobject_cast<QValueAxis*>(view.chart()->axes(Qt::Vertical).first());
    }
    void SetUp() override {
        TarvelTest::SetUp();
        view.resize(553, 337);
        ASSERT_TRUE(showActive(view));
    }

    ChartView view{new QChart, nullptr};
};

// The y axis is labelled at round values, written as FloatToStr writes
// numbers, across the whole range in view, also after a zoom.
class NiceTicks : public ChartViewTest,
                  public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(NiceTicks, LabelTheYAxisAtRoundValues) {
    draw(GetParam().first, GetParam().second);
    for (const double zoom : {1.0, 3.0}) {
        view.chart()->zoom(zoom);
        const QStringList labels = qobject_cast<QCategoryAxis*>(&axisY())->categoriesLabels();
        ASSERT_GE(labels.size(), 2);
        std::vector<double> values;
        for (const QString& label : labels) {
            values.push_back(StrToFloat(label.toStdString()));
            EXPECT_EQ(FloatToStr(values.back()), label.toStdString());
        }
        const double step = values[1] - values[0];
        const double unit = std::pow(10.0, std::floor(std::log10(step)));
        const double mantissa = std::round(step / unit);
        EXPECT_TRUE(mantissa == 1 || mantissa == 2 || mantissa == 5) << step;
        EXPECT_NEAR(std::remainder(values[0], step), 0, step * 1e-9) << "a multiple of the step";
        for (size_t k = 1; k < values.size(); ++k)
            EXPECT_NEAR(values[k] - values[k - 1], step, step * 1e-9);
        EXPECT_GE(values.front(), axisY().min());
        EXPECT_LE(values.back(), axisY().max());
        EXPECT_LT(values.front() - step, axisY().min()) << "no room left for one more below";
        EXPECT_GT(values.back() + step, axisY().max()) << "nor above";
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, NiceTicks,
                         ::testing::Values(std::pair{"0.6", "52.1"}, std::pair{"-1E-9", "2E-9"},
                                           std::pair{"1E15", "2E14"}));

TEST_F(ChartViewTest, TheKeyboardZoomsPansAndRestores) {
    draw("0", "100");
    const double fullMin = axisY().min(), fullMax = axisY().max();
    QTest::keyClick(&view, Qt::Key_Plus);
    EXPECT_LT(axisY().max() - axisY().min(), fullMax - fullMin);
    const double zoomedMin = axisY().min();
    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_GT(axisY().min(), zoomedMin);
    QTest::keyClick(&view, Qt::Key_Home);
    EXPECT_DOUBLE_EQ(axisY().min(), fullMin);
    QTest::keyClick(&view, Qt::Key_Minus);
    EXPECT_GT(axisY().max() - axisY().min(), fullMax - fullMin);
    QTest::keyClick(&view, Qt::Key_0);
    EXPECT_DOUBLE_EQ(axisY().max(), fullMax);
}

TEST_F(ChartViewTest, SavesThePictureAsPngAndSvg) {
    draw("2", "3");
    QTemporaryDir folder;
    const QString png = folder.filePath("chart.png"), svg = folder.filePath("chart.svg");
    ASSERT_TRUE(view.saveImage(png));
    ASSERT_TRUE(view.saveImage(svg));
    const QImage picture(png);
    EXPECT_EQ(picture.size(), view.size() * 2 * view.devicePixelRatioF());
    // The whole chart, not a part of it enlarged: shrunk to the view's size it
    // is what the view shows, give or take the smoothing of edges.
    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage shrunk(shown.size(), QImage::Format_RGB32);
    shrunk.fill(shown.pixel(0, 0)); // the view's background, where the picture is transparent
    QPainter(&shrunk).drawImage(QRect(QPoint(0, 0), shown.size()), picture);
    double difference = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            difference += std::abs(qGray(shown.pixel(x, y)) - qGray(shrunk.pixel(x, y)));
    EXPECT_LT(difference / (shown.width() * shown.height()), 8.0) << "mean grey difference";
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QDomDocument document;
    ASSERT_TRUE(document.setContent(&file)) << "the SVG parses";
    EXPECT_TRUE(document.toString().contains("Tarvel")) << "and holds the title";
    EXPECT_FALSE(view.saveImage(folder.filePath("no such folder/chart.png")));
}

} // namespace
