#include "plot/fit_bands.h"

#include <QChart>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

// A band edge is drawn through at most this many samples: the bands are
// smooth, and a redraw stays quick at any number of samples.
constexpr size_t kMaxBandSamples = 2000;

} // namespace

FitBands::FitBands(QChart& chart, QXYSeries& series, const std::vector<double>& sampleXs,
                   const std::vector<double>& values, const BandBasis& basis, double yScale)
    : PlotOverlay(chart, {}), series(&series), level(basis.level), yScale(yScale) {
    setZValue(3); // under the point marks and the value marks
    const double t = tQuantile(basis.degreesOfFreedom, basis.level);
    const size_t count = std::min(sampleXs.size(), values.size());
    const size_t stride = std::max<size_t>(1, count / kMaxBandSamples);
    for (size_t k = 0; k < count; k += std::min(stride, std::max<size_t>(1, count - 1 - k))) {
        const HalfWidths half = halfWidths(basis, sampleXs[k], t);
        bands.positions.push_back(double(k));
        bands.confidenceLow.push_back(values[k] - half.confidence);
        bands.confidenceHigh.push_back(values[k] + half.confidence);
        bands.predictionLow.push_back(values[k] - half.prediction);
        bands.predictionHigh.push_back(values[k] + half.prediction);
        if (k + 1 == count)
            break;
    }
}

QString FitBands::legend() const {
    const QString percent = QString::number(100 * level, 'g', 6) + " %";
    return "- - " + percent + " confidence band   · · " + percent + " prediction band";
}

void FitBands::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    if (!series)
        return;
    painter->save();
    painter->setClipRect(chart.plotArea());
    const QColor color = series->color();
    // The axes are linear: two points of the plot give every other.
    const QPointF origin = chart.mapToPosition(QPointF(0, 0), series);
    const QPointF unit = chart.mapToPosition(QPointF(1, 1), series) - origin;
    for (const auto& [edges, style] :
         {std::pair{std::pair{&bands.confidenceLow, &bands.confidenceHigh}, Qt::DashLine},
          std::pair{std::pair{&bands.predictionLow, &bands.predictionHigh}, Qt::DotLine}}) {
        painter->setPen(QPen(color, 1, style));
        for (const std::vector<double>* edge : {edges.first, edges.second}) {
            QPainterPath path;
            for (size_t k = 0; k < edge->size(); ++k) {
                const QPointF at(origin.x() + bands.positions[k] * unit.x(),
                                 origin.y() + (*edge)[k] * yScale * unit.y());
                k == 0 ? path.moveTo(at) : path.lineTo(at);
            }
            painter->drawPath(path);
        }
    }
    painter->setClipping(false);
    painter->setPen(chart.titleBrush().color());
    painter->drawText(chart.plotArea().adjusted(6, 4, -6, -4), Qt::AlignLeft | Qt::AlignTop,
                      legend());
    painter->restore();
}
