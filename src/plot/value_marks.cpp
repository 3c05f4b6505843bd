#include "plot/value_marks.h"

#include <QChart>
#include <QFontMetricsF>
#include <QPainter>
#include <QXYSeries>

ValueMarks::ValueMarks(QChart& chart, QXYSeries& series, const QList<QPointF>& samples,
                       std::vector<int> pointIndices)
    : QGraphicsObject(&chart), chart(chart), series(&series), indices(std::move(pointIndices)) {
    for (const int index : indices)
        marked.push_back(samples[index]);
    setZValue(10); // above the series
    followPlotArea();
    connect(&chart, &QChart::plotAreaChanged, this, &ValueMarks::followPlotArea);
}

ValueMarks* ValueMarks::of(const QChart& chart) {
    for (QGraphicsItem* item : chart.childItems())
        if (auto* marks = dynamic_cast<ValueMarks*>(item))
            return marks;
    return nullptr;
}

void ValueMarks::followPlotArea() {
    prepareGeometryChange();
    // Marks stand above their points and may reach a little past the plot area.
    bounds = chart.plotArea().adjusted(-60, -30, 60, 0);
}

QRectF ValueMarks::boundingRect() const {
    return bounds;
}

void ValueMarks::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    if (!series)
        return;
    const QRectF area = chart.plotArea();
    const QFontMetricsF metrics(painter->font());
    painter->setPen(chart.titleBrush().color());
    for (const QPointF& point : marked) {
        const QPointF position = chart.mapToPosition(point, series);
        if (!area.adjusted(-1, -1, 1, 1).contains(position))
            continue;
        const QString text = QString::number(point.y(), 'g', 6);
        const double width = metrics.horizontalAdvance(text);
        painter->drawText(QPointF(position.x() - width / 2, position.y() - metrics.descent() - 3),
                          text);
    }
}
