#include "plot/line_samples.h"

#include <QChart>
#include <QValueAxis>
#include <QXYSeries>

#include <algorithm>
#include <cmath>

LineSamples::LineSamples(QChart& chart, QXYSeries& series, QList<QPointF> samples, double yScale)
    : QObject(&series), chart(chart), series(series), samples(std::move(samples)), yScale(yScale) {
    setObjectName("LineSamples");
    for (QAbstractAxis* axis : series.attachedAxes())
        if (auto* axisX = qobject_cast<QValueAxis*>(axis);
            axisX && axis->orientation() == Qt::Horizontal)
            connect(axisX, &QValueAxis::rangeChanged, this, &LineSamples::reduce);
    connect(&chart, &QChart::plotAreaChanged, this, &LineSamples::reduce);
    reduce();
}

const LineSamples* LineSamples::of(const QXYSeries& series) {
    return series.findChild<LineSamples*>("LineSamples", Qt::FindDirectChildrenOnly);
}

void LineSamples::reduce() {
    const qsizetype count = samples.size();
    double low = 0, high = double(count - 1);
    for (QAbstractAxis* axis : series.attachedAxes())
        if (auto* axisX = qobject_cast<QValueAxis*>(axis);
            axisX && axis->orientation() == Qt::Horizontal) {
            low = axisX->min();
            high = axisX->max();
        }
    // The visible samples and one more on each side, so the line reaches the edges.
    const qsizetype first = std::clamp<qsizetype>(qsizetype(std::floor(low)) - 1, 0, count);
    const qsizetype last = std::clamp<qsizetype>(qsizetype(std::ceil(high)) + 1, first, count - 1);
    const qsizetype shown = last - first + 1;
    const qsizetype columns = qsizetype(chart.plotArea().width()); // 0 until first laid out
    QList<QPointF> drawn;
    if (count == 0 || columns <= 0 || shown <= 4 * columns) {
        drawn = samples.mid(first, count == 0 ? 0 : shown);
    } else {
        // Buckets are the plot's pixel columns, so each keeps what its column shows.
        drawn.reserve(4 * columns + 2);
        const double perColumn = double(columns) / (high - low);
        qsizetype from = first;
        while (from <= last) {
            const auto column = qsizetype(std::floor((double(from) - low) * perColumn));
            qsizetype to = from + 1; // past the end of this column's samples
            while (to <= last && qsizetype(std::floor((double(to) - low) * perColumn)) == column)
                ++to;
            const auto [lowest, highest] =
                std::minmax_element(samples.begin() + from, samples.begin() + to,
                                    [](QPointF a, QPointF b) { return a.y() < b.y(); });
            const qsizetype a = lowest - samples.begin(), b = highest - samples.begin();
            drawn.append(samples[from]);
            for (const qsizetype k : {std::min(a, b), std::max(a, b)})
                if (k != from && k != to - 1)
                    drawn.append(samples[k]);
            if (to - 1 != from)
                drawn.append(samples[to - 1]);
            from = to;
        }
    }
    if (drawn != series.points())
        series.replace(drawn);
}
