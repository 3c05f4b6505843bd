#include "plot/chart_view.h"

#include <QMouseEvent>
#include <QWheelEvent>

ChartView::ChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setRenderHint(QPainter::Antialiasing);
    // Value marks reach outside the line's bounds; partial updates would cut them.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
}

void ChartView::wheelEvent(QWheelEvent* event) {
    const double factor = event->angleDelta().y() > 0 ? 1.25 : 0.8;
    const QRectF area = chart()->plotArea();
    const QPointF at = chart()->mapFromScene(mapToScene(event->position().toPoint()));
    // The point under the pointer stays where it is.
    chart()->zoomIn(QRectF(at.x() - (at.x() - area.left()) / factor,
                           at.y() - (at.y() - area.top()) / factor, area.width() / factor,
                           area.height() / factor));
    event->accept();
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragFrom = event->position();
    QChartView::mousePressEvent(event);
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    if (dragFrom) {
        const QPointF moved = event->position() - *dragFrom;
        chart()->scroll(-moved.x(), moved.y());
        dragFrom = event->position();
    }
    QChartView::mouseMoveEvent(event);
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    dragFrom.reset();
    QChartView::mouseReleaseEvent(event);
}

void ChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    chart()->zoomReset();
    QChartView::mouseDoubleClickEvent(event);
}
