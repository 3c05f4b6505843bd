#include "plot/point_marks.h"

#include "model/evaluation.h"
#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <QChart>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The value of a number's text; nothing for other text, or beyond a double.
std::optional<double> numberIn(const std::string& text) {
    if (!readsAsNumber(text))
        return std::nullopt;
    try {
        return StrToFloat(text);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

} // namespace

std::vector<MarkedPoint> markedPoints(const CellTable& sgdResult,
                                      const std::optional<std::vector<double>>& coefficients) {
    std::vector<MarkedPoint> points;
    for (int row = 1; row < sgdResult.rowCount(); ++row) {
        const auto x = numberIn(sgdResult.cell(0, row)), fx = numberIn(sgdResult.cell(1, row));
        if (!x || !fx)
            continue;
        MarkedPoint point{row, *x, *fx, std::nullopt};
        if (coefficients && !coefficients->empty()) {
            const double value =
                poly(point.x, int(coefficients->size()) - 1, coefficients->data());
            if (std::isfinite(value))
                point.fitted = value;
        }
        points.push_back(point);
    }
    return points;
}

namespace {

// Where x stands on an axis whose position k is sampleXs[k]: between the
// two samples around it, in proportion; NaN outside them. The ends are
// sums of Step, a rounding away from the Min and Max the user typed: a point
// that close to an end counts as on it.
double positionOf(double x, const std::vector<double>& sampleXs) {
    const double nothing = std::numeric_limits<double>::quiet_NaN();
    if (sampleXs.empty())
        return nothing;
    const bool rising = sampleXs.front() <= sampleXs.back();
    const auto before = [rising](double a, double b) { return rising ? a < b : a > b; };
    const double slack = 1e-9 * std::abs(sampleXs.back() - sampleXs.front());
    if (std::abs(x - sampleXs.front()) <= slack)
        return 0;
    if (std::abs(x - sampleXs.back()) <= slack)
        return double(sampleXs.size() - 1);
    if (before(x, sampleXs.front()) || before(sampleXs.back(), x))
        return nothing;
    const auto after = std::lower_bound(sampleXs.begin(), sampleXs.end(), x, before);
    const size_t k = size_t(after - sampleXs.begin());
    if (k == 0 || *after == x)
        return double(k);
    const double from = sampleXs[k - 1], to = sampleXs[k];
    return double(k - 1) + (x - from) / (to - from);
}

} // namespace

PointMarks::PointMarks(QChart& chart, QXYSeries& series, const std::vector<double>& sampleXs,
                       std::vector<MarkedPoint> markedPoints, bool stems, double yScale)
    : QGraphicsObject(&chart), chart(chart), series(&series), points(std::move(markedPoints)),
      stems(stems), yScale(yScale) {
    for (const MarkedPoint& point : points)
        positions.push_back(positionOf(point.x, sampleXs));
    setZValue(9); // above the series, below the value marks
    followPlotArea();
    connect(&chart, &QChart::plotAreaChanged, this, &PointMarks::followPlotArea);
}

PointMarks* PointMarks::of(const QChart& chart) {
    for (QGraphicsItem* item : chart.childItems())
        if (auto* marks = dynamic_cast<PointMarks*>(item))
            return marks;
    return nullptr;
}

void PointMarks::followPlotArea() {
    prepareGeometryChange();
    bounds = chart.plotArea();
}

QRectF PointMarks::boundingRect() const {
    return bounds;
}

std::vector<PointMarks::Placed> PointMarks::placed() const {
    std::vector<Placed> placed;
    if (!series)
        return placed;
    // The axes are linear: two points of the plot give every other.
    const QPointF origin = chart.mapToPosition(QPointF(0, 0), series);
    const QPointF unit = chart.mapToPosition(QPointF(1, 1), series) - origin;
    const auto at = [&](double position, double value) {
        return QPointF(origin.x() + position * unit.x(), origin.y() + value * yScale * unit.y());
    };
    for (size_t k = 0; k < points.size(); ++k) {
        if (std::isnan(positions[k]))
            continue;
        const MarkedPoint& point = points[k];
        Placed mark{&point, at(positions[k], point.fx), std::nullopt};
        if (stems && point.fitted)
            mark.stemEnd = at(positions[k], *point.fitted);
        placed.push_back(mark);
    }
    return placed;
}

std::optional<QString> PointMarks::describeNear(QPointF position, double reach) const {
    const Placed* nearest = nullptr;
    double distance = reach;
    const std::vector<Placed> marks = placed();
    for (const Placed& mark : marks)
        if (const double d = QLineF(mark.at, position).length(); d <= distance) {
            distance = d;
            nearest = &mark;
        }
    if (!nearest)
        return std::nullopt;
    const MarkedPoint& point = *nearest->point;
    const auto number = [](double value) { return QString::fromStdString(FloatToStr(value)); };
    QString text = QString("Row %1\nx = %2\nf(x) = %3")
                       .arg(point.row)
                       .arg(number(point.x), number(point.fx));
    if (point.fitted)
        text += QString("\nfitted = %1\nresidual = %2")
                    .arg(number(*point.fitted), number(*point.fitted - point.fx));
    return text;
}

void PointMarks::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    const QRectF area = chart.plotArea();
    if (area.isEmpty())
        return;
    const QColor ink = chart.titleBrush().color();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setClipRect(area);
    // One mark a pixel: many points on one pixel look like one.
    const int width = int(area.width()) + 1, height = int(area.height()) + 1;
    std::vector<bool> taken(size_t(width) * size_t(height));
    std::vector<QPointF> rings;
    std::vector<QLineF> stemLines;
    for (const Placed& mark : placed()) {
        if (!area.adjusted(-3, -3, 3, 3).contains(mark.at) && !mark.stemEnd)
            continue;
        const int px = int(mark.at.x() - area.left()), py = int(mark.at.y() - area.top());
        if (px >= 0 && py >= 0 && px < width && py < height) {
            const size_t pixel = size_t(py) * size_t(width) + size_t(px);
            if (taken[pixel])
                continue;
            taken[pixel] = true;
        }
        rings.push_back(mark.at);
        if (mark.stemEnd)
            stemLines.emplace_back(mark.at, *mark.stemEnd);
    }
    QColor stemInk = ink;
    stemInk.setAlphaF(0.5);
    painter->setPen(QPen(stemInk, 1));
    painter->drawLines(stemLines.data(), int(stemLines.size()));
    painter->setPen(QPen(ink, 1.2));
    painter->setBrush(chart.backgroundBrush());
    for (const QPointF& ring : rings)
        painter->drawEllipse(ring, 3, 3);
}
