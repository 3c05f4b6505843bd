#pragma once

#include "plot/plot_overlay.h"

#include <QGraphicsObject>
#include <QPointer>
#include <QXYSeries>

#include <vector>

class LineSamples;
class QChart;

// The value marks of chosen points of a series: each point's value written
// above it. They are drawn over the chart at the points' current positions,
// so they follow every change of the plot area. They are a child item of the
// chart, and each Draw deletes the previous marks with their series.
//
// Qt Charts' own point labels label every point, and showing only some of
// them (per-point configuration) makes every frame of a long series cost
// seconds; these cost the same few texts whatever the series holds.
class ValueMarks : public PlotOverlay {
    Q_OBJECT
  public:
    // The marks of the points `pointIndices` of `samples`, the whole line
    // that `series` draws.
    ValueMarks(QChart& chart, QXYSeries& series, const LineSamples& samples,
               std::vector<int> pointIndices);

    const std::vector<int>& pointIndices() const { return indices; }
    // The marks on the chart, if any.
    static ValueMarks* of(const QChart& chart) { return on<ValueMarks>(chart); }

    // The marks as they would be painted now: each point's value, six
    // significant digits written as the axes write numbers, centred above it
    // but kept within the plot's sides, clear of the axis labels. A mark is
    // left out when its point is outside the plot, or when it would overlap
    // one placed before it.
    struct Mark {
        QString text;
        QRectF place;
    };
    std::vector<Mark> placedMarks(const QFont& font) const;

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

  private:
    QPointer<QXYSeries> series;
    const std::vector<int> indices;
    std::vector<QPointF> marked; // the points of those indices, where they stand
    std::vector<double> values;  // and their values
};
