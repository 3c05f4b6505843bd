#pragma once

#include <QChart>
#include <QGraphicsObject>
#include <QMarginsF>
#include <QRectF>

// Marks painted over a chart's plot area as an item of its scene, so that
// zoom, pan and export show them where the chart puts things now. The scene
// indexes an item by its bounds: they follow the plot area only right after
// prepareGeometryChange, never behind the scene's back.
class PlotOverlay : public QGraphicsObject {
  public:
    QRectF boundingRect() const override { return bounds; }

    // The overlay of type T on `chart`, if there is one.
    template <class T> static T* on(const QChart& chart);

  protected:
    // A child of `chart`; its marks may reach `reach` past the plot area.
    PlotOverlay(QChart& chart, QMarginsF reach);

    QChart& chart;

  private:
    void followPlotArea();

    const QMarginsF reach;
    QRectF bounds;
};

template <class T> T* PlotOverlay::on(const QChart& chart) {
    for (QGraphicsItem* item : chart.childItems())
        if (auto* overlay = dynamic_cast<T*>(item))
            return overlay;
    return nullptr;
}
