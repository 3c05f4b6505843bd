#pragma once

#include <QChartView>

#include <functional>
#include <optional>

// The chart as a person explores it: the mouse wheel zooms about the
// pointer, dragging pans, a double-click restores the full view. With the
// keyboard, + and - zoom about the centre, the arrow keys pan, and 0 or Home
// restore the full view. Its context menu saves or copies the chart as an
// image and resets the view. On a dark desktop the chart is dark too.
class ChartView : public QChartView {
    Q_OBJECT
  public:
    ChartView(QChart* chart, QWidget* parent);

    // The chart as shown, at `scale` times the screen's resolution.
    QImage image(qreal scale) const;
    // Saves the chart as shown: SVG for a name ending in .svg, otherwise PNG
    // at twice the screen's resolution. False when the file cannot be written.
    bool saveImage(const QString& path) const;

    // The level of the bands Draw puts around a least-squares curve, 0.95
    // until the menu's "Band level…" sets another; `onBandLevel` follows.
    double bandLevel() const { return level; }
    void setBandLevel(const QString& text);
    std::function<void()> onBandLevel;

  protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // Zooms by `factor` about `at`, a point of the chart that stays put.
    void zoomAbout(QPointF at, double factor);
    void askToSaveImage();

    void askForBandLevel();

    std::optional<QPointF> dragFrom;
    double level = 0.95;
};
