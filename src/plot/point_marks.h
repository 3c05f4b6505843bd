#pragma once

#include "plot/plot_overlay.h"

#include <QGraphicsObject>
#include <QPointer>
#include <QXYSeries>

#include <optional>
#include <vector>

class CellTable;
class QChart;

// A sample point of the point table, as the chart marks it.
struct MarkedPoint {
    int row;
    double x, fx;
    std::optional<double> fitted; // the drawn polynomial at x, when it has one
};

// The points of the point table whose x and f(x) are both numbers.
std::vector<MarkedPoint> markedPoints(const CellTable& sgdResult);
// Gives each point the polynomial of `coefficients` (lowest power first) at
// its x, when it has coefficients and the value is finite.
void fitTo(std::vector<MarkedPoint>& points,
           const std::optional<std::vector<double>>& coefficients);

// The sample points over a drawn line, each a small ring where it falls
// inside the drawn range of x, with a thin stem to the line in least
// squares. Like the value marks, they are drawn over the chart at the points'
// current places, so zoom, pan and export show them; Draw replaces them.
// Points that fall on the same pixel are painted once, so 100,000 of them
// cost no more than the plot has pixels.
// Beyond this many points in the drawn range, they are drawn small and
// hollow, under the line.
inline constexpr size_t kManyMarks = 300;

class PointMarks : public PlotOverlay {
    Q_OBJECT
  public:
    // `sampleXs`: the x of each sample of the line, which stands at position
    // k of the chart's x axis; `yScale`, the line's (line_samples.h).
    PointMarks(QChart& chart, QXYSeries& series, const std::vector<double>& sampleXs,
               std::vector<MarkedPoint> points, bool stems, double yScale);

    static PointMarks* of(const QChart& chart) { return on<PointMarks>(chart); }

    // A point where it stands on the chart now, and the end of its stem.
    struct Placed {
        const MarkedPoint* point;
        QPointF at;
        std::optional<QPointF> stemEnd;
    };
    // Every point in the drawn range of x, in table order.
    std::vector<Placed> placed() const;

    // The point within `reach` pixels of `position` nearest to it, and its
    // row, x, f(x), fitted value and residual as the tooltip says them.
    std::optional<QString> describeNear(QPointF position, double reach = 6) const;

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

  private:
    // Calls visit(const Placed&) for each point in the drawn range, as
    // placed() gives them, without a list.
    template <class Visit> void forEachPlaced(const Visit& visit) const;

    QPointer<QXYSeries> series;
    std::vector<MarkedPoint> points;
    std::vector<double> positions; // on the x axis; NaN outside the drawn range
    bool stems;
    double yScale;
};
