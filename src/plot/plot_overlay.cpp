#include "plot/plot_overlay.h"

PlotOverlay::PlotOverlay(QChart& chart, QMarginsF reach)
    : QGraphicsObject(&chart), chart(chart), reach(reach) {
    followPlotArea();
    connect(&chart, &QChart::plotAreaChanged, this, &PlotOverlay::followPlotArea);
}

void PlotOverlay::followPlotArea() {
    prepareGeometryChange();
    bounds = chart.plotArea().marginsAdded(reach);
}
