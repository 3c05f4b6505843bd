#include "plot/function_plot.h"

#include "model/evaluation.h"
#include "plot/axis_ticks.h"
#include "plot/fit_bands.h"
#include "plot/line_samples.h"
#include "plot/point_marks.h"
#include "plot/samples.h"
#include "plot/value_marks.h"
#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"

#include <QCategoryAxis>
#include <QChart>
#include <QCursor>
#include <QFontMetricsF>
#include <QLineSeries>
#include <QScopeGuard>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>
#include <future>
#include <optional>
#include <utility>
#include <vector>

namespace {

// More x labels and value marks than this would crowd the plot even when
// they are short.
constexpr int kMaxLabels = 12;

void resetChart(QChart& chart) {
    delete ValueMarks::of(chart);
    delete PointMarks::of(chart);
    delete FitBands::of(chart);
    chart.removeAllSeries(); // deletes the previous Draw's series
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
    chart.legend()->hide();
    chart.setTitle("Tarvel");
}

QLineSeries* newSeries(QChart& chart) {
    auto* series = new QLineSeries;
    series->setColor(Qt::red);
    chart.addSeries(series);
    return series;
}

// The label of the point sampled at x.
QString xLabel(double x) {
    return QString::fromStdString(FloatToStr(x));
}

// Hovering near the line shows the nearest point's x and value.
void showPointOnHover(QLineSeries& series, const LineSamples& samples, std::vector<double> xs) {
    QObject::connect(&series, &QXYSeries::hovered, &series,
                     [&samples, xs = std::move(xs)](QPointF position, bool entering) {
                         if (!entering || xs.empty()) {
                             QToolTip::hideText();
                             return;
                         }
                         const auto k =
                             size_t(std::clamp(std::lround(position.x()), 0L, long(xs.size()) - 1));
                         QToolTip::showText(
                             QCursor::pos(),
                             "x = " + xLabel(xs[k]) + "\nf(x) = " +
                                 QString::fromStdString(FloatToStr(samples.valueAt(qsizetype(k)))));
                     });
}

// Indices of n points spread evenly from `first` to `last`.
std::vector<int> spread(qsizetype first, qsizetype last, qsizetype n) {
    std::vector<int> indices;
    const qsizetype count = last - first + 1;
    for (qsizetype j = 0; j < n; ++j)
        indices.push_back(int(first + (n > 1 ? (j * (count - 1) + (n - 1) / 2) / (n - 1) : 0)));
    return indices;
}

// As many evenly spread points of first .. last as their x labels fit side by
// side across the plot: long labels (x after many additions of Step) mean
// fewer of them.
std::vector<int> labelledPoints(const std::vector<double>& xs, qsizetype first, qsizetype last,
                                const QFont& font, double width) {
    const QFontMetricsF metrics(font);
    const qsizetype count = last - first + 1;
    for (qsizetype n = std::min<qsizetype>(count, kMaxLabels); n > 2; --n) {
        std::vector<int> chosen = spread(first, last, n);
        double widest = 0;
        for (const int k : chosen)
            widest = std::max(widest, metrics.horizontalAdvance(xLabel(xs[k])));
        if (double(n) * widest <= 0.85 * width) // with room between them
            return chosen;
    }
    return spread(first, last, std::min<qsizetype>(count, 2));
}

// Until the chart is first shown its plot area is empty; then take the width
// it has in the window.
double plotWidth(const QChart& chart) {
    return chart.plotArea().width() > 0 ? chart.plotArea().width() : 460;
}

// Puts these (text, value) labels on the axis in place of those it had,
// keeping its range; they stand at their values.
void replaceLabels(QCategoryAxis& axis, const std::vector<std::pair<QString, double>>& labels) {
    const double min = axis.min(), max = axis.max();
    for (const QString& text : axis.categoriesLabels())
        axis.remove(text);
    axis.setStartValue(min - (max - min)); // below every label
    for (const auto& [text, value] : labels)
        axis.append(text, value);
    axis.setRange(min, max);
}

// Labels the axis anew after every zoom or pan; the new labels may touch the
// range again, which does not count as a change.
void relabelOnRangeChange(QCategoryAxis& axis,
                          std::function<std::vector<std::pair<QString, double>>()> labels) {
    QObject::connect(&axis, &QValueAxis::rangeChanged, &axis,
                     [&axis, labels = std::move(labels), busy = false]() mutable {
                         if (!std::exchange(busy, true)) {
                             replaceLabels(axis, labels());
                             busy = false;
                         }
                     });
}

// A readable subset of the samples in view, each labelled with its x.
std::vector<std::pair<QString, double>> xLabels(const QChart& chart, const QCategoryAxis& axis,
                                                const std::vector<double>& xs) {
    const auto count = qsizetype(xs.size());
    const qsizetype first = std::clamp<qsizetype>(qsizetype(std::ceil(axis.min())), 0, count - 1);
    const qsizetype last =
        std::clamp<qsizetype>(qsizetype(std::floor(axis.max())), first, count - 1);
    std::vector<std::pair<QString, double>> labels;
    for (const int k : labelledPoints(xs, first, last, axis.labelsFont(), plotWidth(chart)))
        labels.emplace_back(xLabel(xs[k]), double(k));
    return labels;
}

// Round values in view (axis_ticks.h), placed in the plot's units, which
// are the values times `yScale`.
std::vector<std::pair<QString, double>> yLabels(const QCategoryAxis& axis, double yScale) {
    std::vector<std::pair<QString, double>> labels;
    const auto value = [yScale](double position) {
        return std::clamp(position / yScale, -DBL_MAX, DBL_MAX);
    };
    for (const AxisTick& tick : niceTicks(value(axis.min()), value(axis.max())))
        labels.emplace_back(QString::fromStdString(tick.label), tick.value * yScale);
    return labels;
}

// Gives the series its points and puts the x labels of a readable subset of
// them under them, their value marks over them; the series then keeps what
// the plot can show apart (line_samples.h).
void showPoints(QChart& chart, QLineSeries& series, const QList<QPointF>& points,
                const std::vector<double>& xs, std::vector<MarkedPoint> marked, bool stems,
                const BandBasis* bands) {
    if (points.isEmpty())
        return;
    const qsizetype count = points.size();
    auto* axisX = new QCategoryAxis;
    axisX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axisX->setStartValue(-0.5);
    axisX->setTruncateLabels(false); // every label shows its x in full
    std::vector<int> labelled =
        labelledPoints(xs, 0, count - 1, axisX->labelsFont(), plotWidth(chart));
    for (const int k : labelled)
        axisX->append(xLabel(xs[k]), double(k));
    // The last label stands centred under the plot's right edge: leave it room.
    const double lastLabelWidth =
        QFontMetricsF(axisX->labelsFont()).horizontalAdvance(xLabel(xs.back()));
    QMargins margins = chart.margins();
    margins.setRight(std::max(20, int(lastLabelWidth / 2) + 6));
    chart.setMargins(margins);
    axisX->setRange(-0.5, double(count) - 0.5); // after the labels, or it drops some
    series.setPointsVisible(qsizetype(labelled.size()) == count); // dots only while they stay apart

    const auto [low, high] = std::minmax_element(
        points.begin(), points.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
    // Room below the lowest point and, for its mark, above the highest;
    // formed so that it cannot overflow.
    const double margin = high->y() > low->y() ? 0.08 * high->y() - 0.08 * low->y()
                                               : std::max(1.0, 0.1 * std::abs(high->y()));
    const double bottom = std::max(low->y() - margin, -DBL_MAX);
    const double top = std::min(high->y() + 2 * margin, DBL_MAX);
    // The chart maps through top - bottom: a range wider than the largest
    // double is drawn in quarters, exactly, and labelled in whole values.
    const double yScale = std::isfinite(top - bottom) ? 1 : 0.25;
    QList<QPointF> plotted = points;
    for (QPointF& point : plotted)
        point.setY(point.y() * yScale);
    auto* axisY = new QCategoryAxis;
    axisY->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axisY->setRange(bottom * yScale, top * yScale);
    axisY->applyNiceNumbers();
    replaceLabels(*axisY, yLabels(*axisY, yScale));
    relabelOnRangeChange(*axisY, [axisY, yScale] { return yLabels(*axisY, yScale); });
    chart.addAxis(axisX, Qt::AlignBottom);
    chart.addAxis(axisY, Qt::AlignLeft);
    series.attachAxis(axisX);
    series.attachAxis(axisY);
    const auto* samples = new LineSamples(chart, series, std::move(plotted), yScale);
    new ValueMarks(chart, series, *samples, std::move(labelled));
    if (!marked.empty())
        new PointMarks(chart, series, xs, std::move(marked), stems, yScale);
    if (bands) {
        std::vector<double> values;
        for (const QPointF& point : points)
            values.push_back(point.y());
        new FitBands(chart, series, xs, values, *bands, yScale);
    }
    showPointOnHover(series, *samples, xs);
    relabelOnRangeChange(*axisX, [&chart, axisX, xs] { return xLabels(chart, *axisX, xs); });
}

} // namespace

void drawFunction(QChart& chart, std::string_view minText, std::string_view maxText,
                  std::string_view stepText, const CellTable& sdgCoefficients, int degree,
                  std::string& rx, std::string& rfx, const CellTable* sgdResult, bool stems,
                  const BandBasis* bands) {
    resetChart(chart);
    QLineSeries& series = *newSeries(chart);
    const double step = StrToFloat(stepText);
    const double min = StrToFloat(minText);

    // The chart shows the samples taken once Draw ends, however it ends.
    QList<QPointF> points;
    std::vector<double> xs;
    std::optional<std::optional<std::vector<double>>> coefficients; // read at the first sample
    // The table's points are read on another thread while the samples are
    // taken; nothing writes the table during Draw.
    std::future<std::vector<MarkedPoint>> reading;
    if (sgdResult)
        reading = std::async(std::launch::async, [sgdResult] { return markedPoints(*sgdResult); });
    const auto show = qScopeGuard([&] {
        std::vector<MarkedPoint> marked =
            reading.valid() ? reading.get() : std::vector<MarkedPoint>();
        if (coefficients)
            fitTo(marked, *coefficients);
        else
            marked.clear(); // nothing sampled: no line to mark
        showPoints(chart, series, points, xs, std::move(marked), stems, bands);
    });
    for (const double x : sampleXs(min, StrToFloat(maxText), step)) {
        rx = FloatToStr(x);
        if (!coefficients)
            coefficients = readCoefficients(sdgCoefficients, degree);
        if (*coefficients)
            rfx = valueText(**coefficients, rx);
        if (!IsBlank(rfx)) {
            points.append(QPointF(double(points.size()), StrToFloat(rfx)));
            xs.push_back(x);
        }
    }
}
