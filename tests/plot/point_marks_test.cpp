#include "plot/point_marks.h"

#include "plot/chart_view.h"
#include "plot/function_plot.h"
#include "support/tarvel_test.h"
#include "toolkit/conversions.h"

#include <QChart>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>

namespace {

// The default polynomial 2 + 3x - 2x² + x³ drawn over [0, 4] in steps of 0.5,
// with points on it, beside it and outside the range.
class PointMarksTest : public TarvelTest {
  protected:
    void draw(bool stems) {
        view.resize(553, 337);
        view.show();
        drawFunction(*view.chart(), "0", "4", "0.5", coefficients, 3, rx, rfx, &points, stems);
        QCoreApplication::processEvents();
    }
    // Where the chart puts a point (x, y): x = 0.5 k stands at position k.
    QPointF expectedAt(double x, double y) {
        return view.chart()->mapToPosition(QPointF(x / 0.5, y), view.chart()->series().first());
    }
    static void expectNear(QPointF actual, QPointF expected, const char* what) {
        EXPECT_NEAR(actual.x(), expected.x(), 0.01) << what;
        EXPECT_NEAR(actual.y(), expected.y(), 0.01) << what;
    }

    CellTable coefficients = tableOf(2, {{"A", "2"}, {"B", "3"}, {"C", "-2"}, {"D", "1"}});
    CellTable points =
        tableOf(2, {{"1", "4"}, {"not", "a point"}, {"1.25", "9"}, {"7", "300"}, {"", ""}});
    ChartView view{new QChart, nullptr};
    std::string rx, rfx;
};

TEST_F(PointMarksTest, MarksThePointsInRangeWhereTheyStandAfterZoomAndPan) {
    draw(false);
    const PointMarks* marks = PointMarks::of(*view.chart());
    ASSERT_TRUE(marks);
    EXPECT_EQ(view.chart()->series().size(), 1) << "an overlay, not a series";
    for (const auto& explore :
         {std::function<void()>([] {}), std::function<void()>([&] { view.chart()->zoom(1.7); }),
          std::function<void()>([&] { view.chart()->scroll(35, -20); })}) {
        explore();
        const std::vector<PointMarks::Placed> placed = marks->placed();
        ASSERT_EQ(placed.size(), 2u) << "x = 7 is outside the drawn range; row 2 is no point";
        EXPECT_EQ(placed[0].point->row, 1);
        EXPECT_EQ(placed[1].point->row, 3);
        expectNear(placed[0].at, expectedAt(1, 4), "row 1");
        expectNear(placed[1].at, expectedAt(1.25, 9), "row 3, between two samples");
        EXPECT_FALSE(placed[1].stemEnd) << "stems only in least squares";
    }
}

TEST_F(PointMarksTest, InLeastSquaresAStemJoinsEachPointToTheCurveAndHoverSaysTheResidual) {
    draw(true);
    const PointMarks* marks = PointMarks::of(*view.chart());
    ASSERT_TRUE(marks);
    const std::vector<PointMarks::Placed> placed = marks->placed();
    ASSERT_EQ(placed.size(), 2u);
    ASSERT_TRUE(placed[1].stemEnd);
    const double fitted = 2 + 3 * 1.25 - 2 * 1.25 * 1.25 + 1.25 * 1.25 * 1.25;
    expectNear(*placed[1].stemEnd, expectedAt(1.25, fitted), "the curve at x = 1.25");
    const auto text = marks->describeNear(placed[1].at + QPointF(2, -2));
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "Row 3\nx = 1.25\nf(x) = 9\nfitted = 4.578125\nresidual = 4.421875");
    EXPECT_FALSE(marks->describeNear(placed[1].at + QPointF(30, 0)));

    // Export draws them: the image differs from one without the overlay.
    const QImage with = view.image(1);
    delete PointMarks::of(*view.chart());
    EXPECT_NE(with, view.image(1));
}

// The red of the line, where it shows.
int linePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.red() > 200 && c.green() < 90 && c.blue() < 90;
        }
    return count;
}

TEST_F(PointMarksTest, ManyPointsOnTheLineLeaveItInSight) {
    Grid rows;
    for (int k = 0; k < 1000; ++k) {
        const double x = 4.0 * k / 1000;
        rows.push_back({FloatToStr(x), FloatToStr(2 + 3 * x - 2 * x * x + x * x * x)});
    }
    points = tableOf(2, rows);
    draw(false);
    const QImage with = view.image(1);
    delete PointMarks::of(*view.chart());
    const QImage without = view.image(1);
    EXPECT_GT(linePixels(with), linePixels(without) / 2)
        << "of " << linePixels(without) << " pixels of the line, " << linePixels(with) << " show";
}

} // namespace
