#pragma once

#include "plot/plot_overlay.h"

#include <QPointer>
#include <QXYSeries>

#include <vector>

class QChart;

// What the bands around a least-squares curve are drawn from: the residual
// standard deviation s with its degrees of freedom, and the inverse normal
// matrix G in powers of t = (x - center) / scale, row-major. At x the fitted
// value has the variance s² vᵀGv, v = (1, t, t², ...); a new observation
// s² (1 + vᵀGv).
struct BandBasis {
    double sd = 0;
    long degreesOfFreedom = 0;
    double center = 0, scale = 1;
    std::vector<double> inverse;
    double level = 0.95; // of both bands
};

// The two-sided Student t quantile for `level` with these degrees of freedom.
double tQuantile(long degreesOfFreedom, double level);

// The half widths at x of the confidence band of the fitted curve and of
// the prediction band of a new observation, for the quantile `t`.
struct HalfWidths {
    double confidence, prediction;
};
HalfWidths halfWidths(const BandBasis& basis, double x, double t);

// The confidence band (dashed) and the prediction band (dotted) around a
// drawn curve, drawn over the chart at the samples' current places so that
// zoom, pan and export show them, with a legend in the plot's upper left
// corner that says which is which. Draw replaces them.
class FitBands : public PlotOverlay {
    Q_OBJECT
  public:
    // `sampleXs[k]` and `values[k]`: the x and the drawn value at position k
    // of the chart's x axis; `yScale`, the line's (line_samples.h).
    FitBands(QChart& chart, QXYSeries& series, const std::vector<double>& sampleXs,
             const std::vector<double>& values, const BandBasis& basis, double yScale);

    static FitBands* of(const QChart& chart) { return on<FitBands>(chart); }

    // The four edges, lower and upper of each band, as values at the
    // positions they are drawn at.
    struct Edges {
        std::vector<double> positions, confidenceLow, confidenceHigh, predictionLow, predictionHigh;
    };
    const Edges& edges() const { return bands; }
    QString legend() const;

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

  private:
    QPointer<QXYSeries> series;
    Edges bands;
    double level, yScale;
};
