#include "plot/chart_view.h"

#include "model/prediction_band.h"
#include "plot/point_marks.h"

#include "toolkit/error_display.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgGenerator>
#include <QToolTip>
#include <QWheelEvent>

ChartView::ChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setRenderHint(QPainter::Antialiasing);
    // Value marks reach outside the line's bounds; partial updates would cut them.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleDescription("The mouse wheel, + and - zoom; dragging and the arrow keys pan; "
                             "a double-click, 0 or Home show the whole curve.");
    if (palette().color(QPalette::Window).lightness() < 128)
        chart->setTheme(QChart::ChartThemeDark); // before any series: Draw colours its own
}

void ChartView::zoomAbout(QPointF at, double factor) {
    const QRectF area = chart()->plotArea();
    chart()->zoomIn(QRectF(at.x() - (at.x() - area.left()) / factor,
                           at.y() - (at.y() - area.top()) / factor, area.width() / factor,
                           area.height() / factor));
}

void ChartView::wheelEvent(QWheelEvent* event) {
    const QPointF at = chart()->mapFromScene(mapToScene(event->position().toPoint()));
    zoomAbout(at, event->angleDelta().y() > 0 ? 1.25 : 0.8); // the point under the pointer stays
    event->accept();
}

void ChartView::keyPressEvent(QKeyEvent* event) {
    const QPointF centre = chart()->plotArea().center();
    const double step = chart()->plotArea().width() / 10;
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomAbout(centre, 1.25);
        break;
    case Qt::Key_Minus:
        zoomAbout(centre, 0.8);
        break;
    case Qt::Key_Left:
        chart()->scroll(-step, 0);
        break;
    case Qt::Key_Right:
        chart()->scroll(step, 0);
        break;
    case Qt::Key_Up:
        chart()->scroll(0, step);
        break;
    case Qt::Key_Down:
        chart()->scroll(0, -step);
        break;
    case Qt::Key_0:
    case Qt::Key_Home:
        chart()->zoomReset();
        break;
    default:
        QChartView::keyPressEvent(event);
    }
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
    QChartView::mouseMoveEvent(event); // the line's own hover first; a point near wins
    if (const PointMarks* marks = PointMarks::of(*chart()); marks && !dragFrom) {
        const QPointF at = chart()->mapFromScene(mapToScene(event->position().toPoint()));
        if (const auto text = marks->describeNear(at))
            QToolTip::showText(event->globalPosition().toPoint(), *text, this);
    }
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    dragFrom.reset();
    QChartView::mouseReleaseEvent(event);
}

void ChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    chart()->zoomReset();
    QChartView::mouseDoubleClickEvent(event);
}

void ChartView::contextMenuEvent(QContextMenuEvent* event) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction("&Save image…", this, &ChartView::askToSaveImage);
    menu->addAction("&Copy image", this,
                    [this] { QApplication::clipboard()->setImage(image(devicePixelRatioF())); });
    menu->addSeparator();
    menu->addAction("&Reset view", this, [this] { chart()->zoomReset(); });
    menu->addAction("Band &level…", this, &ChartView::askForBandLevel);
    menu->popup(event->globalPos());
}

QImage ChartView::image(qreal scale) const {
    QImage picture(size() * scale, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(scale);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // The whole view into the whole picture, in the view's own units: left to
    // itself, render() may take the picture's pixels for units, and on X it
    // then draws only the top-left part, enlarged.
    const_cast<ChartView*>(this)->render(&painter, QRectF(QPointF(0, 0), QSizeF(size())), rect());
    return picture;
}

bool ChartView::saveImage(const QString& path) const {
    if (!path.endsWith(".svg", Qt::CaseInsensitive))
        return image(2 * devicePixelRatioF()).save(path, "PNG");
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size());
    svg.setViewBox(rect());
    svg.setTitle(chart()->title());
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    const_cast<ChartView*>(this)->render(&painter);
    return painter.end();
}

void ChartView::setBandLevel(const QString& text) {
    level = ::bandLevel(text.toStdString());
    if (onBandLevel)
        onBandLevel();
}

void ChartView::askForBandLevel() {
    bool given = false;
    const QString text = QInputDialog::getText(
        this, "Band level", "The level of both bands, between 0 and 1:", QLineEdit::Normal,
        QString::number(level, 'g', 15), &given);
    if (given)
        guarded([&] { setBandLevel(text); });
}

void ChartView::askToSaveImage() {
    const QString path = QFileDialog::getSaveFileName(this, "Save image", "chart.png",
                                                      "PNG image (*.png);;SVG image (*.svg)");
    if (!path.isEmpty() && !saveImage(path))
        showError("Cannot save the image " + path + ".");
}
