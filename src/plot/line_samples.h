#pragma once

#include <QList>
#include <QObject>
#include <QPointF>

class QChart;
class QXYSeries;

// Every sample of a drawn line, kept beside its series. The series itself
// holds only what the plot can show apart: for each pixel column of the
// visible range, the first, last, lowest and highest sample in it, which
// draw the same line as all of them. A zoom, a pan or a wider plot brings
// the series up to date, so a line of 100,000 samples redraws as fast as
// one of a few thousand. Hover and value marks read the samples here.
class LineSamples : public QObject {
    Q_OBJECT
  public:
    // Sample k stands at x = k. The series must have its x axis attached.
    // The samples' y are in the plot's units: the values times `yScale`, a
    // power of two below 1 only for values that span more than the largest
    // double, which the chart cannot map.
    LineSamples(QChart& chart, QXYSeries& series, QList<QPointF> samples, double yScale = 1);

    const QList<QPointF>& all() const { return samples; }
    // The value of sample k, in the function's own units.
    double valueAt(qsizetype k) const { return samples[k].y() / yScale; }
    // The samples of a series drawn this way, if it is.
    static const LineSamples* of(const QXYSeries& series);

  private:
    void reduce();

    QChart& chart;
    QXYSeries& series;
    const QList<QPointF> samples;
    const double yScale;
};
