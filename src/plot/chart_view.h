#pragma once

#include <QChartView>

#include <optional>

// The chart as a person explores it: the mouse wheel zooms about the
// pointer, dragging pans, a double-click restores the full view.
class ChartView : public QChartView {
    Q_OBJECT
  public:
    ChartView(QChart* chart, QWidget* parent);

  protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    std::optional<QPointF> dragFrom;
};
