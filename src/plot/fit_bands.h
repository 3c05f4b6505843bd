#pragma once

#include "model/prediction_band.h"
#include "plot/plot_overlay.h"

#include <QPointer>
#include <QXYSeries>

#include <vector>

class QChart;

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
