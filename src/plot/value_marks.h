#pragma once

#include <QGraphicsObject>

#include <vector>

class QChart;
class QXYSeries;

// The value marks of chosen points of a series: each point's value written
// above it. They are drawn over the chart at the points' current positions,
// so they follow every change of the plot area. They belong to the series
// and go with it.
//
// Qt Charts' own point labels label every point, and showing only some of
// them (per-point configuration) makes every frame of a long series cost
// seconds; these cost the same few texts whatever the series holds.
class ValueMarks : public QGraphicsObject {
    Q_OBJECT
  public:
    ValueMarks(QChart& chart, QXYSeries& series, std::vector<int> pointIndices);

    const std::vector<int>& pointIndices() const { return indices; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

  private:
    QChart& chart;
    QXYSeries& series;
    const std::vector<int> indices;
};
