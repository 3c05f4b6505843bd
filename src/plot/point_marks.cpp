#include "plot/point_marks.h"

#include "model/evaluation.h"
#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <QChart>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The value of a number's text; nothing for other text, or beyond a double.
std::optional<double> numberIn(const std::string& text) {
    if (IsBlank(text))
        return std::nullopt;
    try {
        return StrToFloat(text);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

} // namespace

std::vector<MarkedPoint> markedPoints(const CellTable& sgdResult) {
    std::vector<MarkedPoint> points;
    points.reserve(size_t(std::max(sgdResult.rowCount() - 1, 0)));
    for (int row = 1; row < sgdResult.rowCount(); ++row) {
        const auto x = numberIn(sgdResult.cell(0, row)), fx = numberIn(sgdResult.cell(1, row));
        if (x && fx)
            points.push_back({row, *x, *fx, std::nullopt});
    }
    return points;
}

void fitTo(std::vector<MarkedPoint>& points,
           const std::optional<std::vector<double>>& coefficients) {
    if (!coefficients || coefficients->empty())
        return;
    for (MarkedPoint& point : points) {
        const double value = poly(point.x, int(coefficients->size()) - 1, coefficients->data());
        if (std::isfinite(value))
            point.fitted = value;
    }
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
    // The samples are Min plus repeated Steps: nearly even, so the first
    // guess is the sample's place in proportion, and a few steps find it.
    const size_t last = sampleXs.size() - 1;
    size_t k = last == 0 ? 0
                         : std::min(last, size_t(double(last) * (x - sampleXs.front()) /
                                                 (sampleXs.back() - sampleXs.front())));
    while (k > 0 && before(x, sampleXs[k]))
        --k;
    while (k < last && !before(x, sampleXs[k])) // k becomes the first sample past x
        ++k;
    if (!before(x, sampleXs[k]) || k == 0) // x is the last sample, or the first
        return double(k);
    const double from = sampleXs[k - 1], to = sampleXs[k];
    return double(k - 1) + (x - from) / (to - from);
}

} // namespace

PointMarks::PointMarks(QChart& chart, QXYSeries& series, const std::vector<double>& sampleXs,
                       std::vector<MarkedPoint> markedPoints, bool stems, double yScale)
    : PlotOverlay(chart, {}), series(&series), points(std::move(markedPoints)), stems(stems),
      yScale(yScale) {
    positions.reserve(points.size());
    for (const MarkedPoint& point : points)
        positions.push_back(positionOf(point.x, sampleXs));
    // Above the series, below the value marks; many points go under the
    // series, above the grid, so that the line stays in sight.
    const auto inRange = std::count_if(positions.begin(), positions.end(),
                                       [](double position) { return !std::isnan(position); });
    setZValue(size_t(inRange) > kManyMarks ? 3.5 : 9);
}

template <class Visit> void PointMarks::forEachPlaced(const Visit& visit) const {
    if (!series)
        return;
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
        visit(mark);
    }
}

std::vector<PointMarks::Placed> PointMarks::placed() const {
    std::vector<Placed> placed;
    forEachPlaced([&](const Placed& mark) { placed.push_back(mark); });
    return placed;
}

std::optional<QString> PointMarks::describeNear(QPointF position, double reach) const {
    const MarkedPoint* nearest = nullptr;
    double distance = reach;
    forEachPlaced([&](const Placed& mark) {
        if (const double d = QLineF(mark.at, position).length(); d <= distance) {
            distance = d;
            nearest = mark.point;
        }
    });
    if (!nearest)
        return std::nullopt;
    const MarkedPoint& point = *nearest;
    const auto number = [](double value) { return QString::fromStdString(FloatToStr(value)); };
    QString text =
        QString("Row %1\nx = %2\nf(x) = %3").arg(point.row).arg(number(point.x), number(point.fx));
    if (point.fitted)
        text += QString("\nfitted = %1\nresidual = %2")
                    .arg(number(*point.fitted), number(point.fx - *point.fitted));
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
    forEachPlaced([&](const Placed& mark) {
        if (!area.adjusted(-3, -3, 3, 3).contains(mark.at) && !mark.stemEnd)
            return;
        const int px = int(mark.at.x() - area.left()), py = int(mark.at.y() - area.top());
        if (px >= 0 && py >= 0 && px < width && py < height) {
            const size_t pixel = size_t(py) * size_t(width) + size_t(px);
            if (taken[pixel])
                return;
            taken[pixel] = true;
        }
        rings.push_back(mark.at);
        if (mark.stemEnd)
            stemLines.emplace_back(mark.at, *mark.stemEnd);
    });
    QColor stemInk = ink;
    stemInk.setAlphaF(0.75);
    painter->setPen(QPen(stemInk, 1.5));
    painter->drawLines(stemLines.data(), int(stemLines.size()));
    // One ring drawn, then copied to every place: far cheaper than as many
    // antialiased ellipses. It is drawn at the device's resolution, so an
    // export at twice the screen's stays sharp. Many points get small hollow
    // rings under the line.
    const bool many = zValue() < 4;
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1;
    QPixmap ring(QSize(9, 9) * ratio);
    ring.setDevicePixelRatio(ratio);
    ring.fill(Qt::transparent);
    {
        QPainter ringPainter(&ring);
        ringPainter.setRenderHint(QPainter::Antialiasing);
        ringPainter.setPen(QPen(ink, many ? 0.8 : 1.2));
        ringPainter.setBrush(many ? QBrush(Qt::NoBrush) : chart.backgroundBrush());
        ringPainter.drawEllipse(QPointF(4.5, 4.5), many ? 1.5 : 3, many ? 1.5 : 3);
    }
    for (const QPointF& at : rings)
        painter->drawPixmap(at - QPointF(4.5, 4.5), ring);
}
