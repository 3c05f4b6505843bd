#include "plot/value_marks.h"

#include "plot/line_samples.h"
#include "toolkit/conversions.h"

#include <QChart>
#include <QFontMetricsF>
#include <QPainter>
#include <QXYSeries>

#include <algorithm>

ValueMarks::ValueMarks(QChart& chart, QXYSeries& series, const LineSamples& samples,
                       std::vector<int> pointIndices)
    // Marks stand above their points and may reach a little past the plot area.
    : PlotOverlay(chart, {60, 30, 60, 0}), series(&series), indices(std::move(pointIndices)) {
    for (const int index : indices) {
        marked.push_back(samples.all()[index]);
        values.push_back(samples.valueAt(index));
    }
    setZValue(10); // above the series
}

std::vector<ValueMarks::Mark> ValueMarks::placedMarks(const QFont& font) const {
    std::vector<Mark> marks;
    if (!series)
        return marks;
    const QRectF area = chart.plotArea();
    const QFontMetricsF metrics(font);
    for (size_t k = 0; k < marked.size(); ++k) {
        const QPointF position = chart.mapToPosition(marked[k], series);
        if (!area.adjusted(-1, -1, 1, 1).contains(position))
            continue;
        const QString text = QString::fromStdString(FloatToStr(values[k], 6));
        const double width = metrics.horizontalAdvance(text);
        // Centred over its point, but never out over the axis labels.
        const double left = std::clamp(position.x() - width / 2, area.left(),
                                       std::max(area.left(), area.right() - width));
        const QRectF place(left, position.y() - metrics.height() - 3, width, metrics.height());
        const bool overlaps = std::any_of(marks.begin(), marks.end(), [&](const Mark& other) {
            return other.place.intersects(place);
        });
        if (!overlaps)
            marks.push_back({text, place});
    }
    return marks;
}

void ValueMarks::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    painter->setPen(chart.titleBrush().color());
    const QFontMetricsF metrics(painter->font());
    for (const Mark& mark : placedMarks(painter->font()))
        painter->drawText(QPointF(mark.place.left(), mark.place.bottom() - metrics.descent()),
                          mark.text);
}
