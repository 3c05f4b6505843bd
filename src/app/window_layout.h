#pragma once

#include <QRect>
#include <QSize>

#include <tuple>
#include <vector>

class QWidget;
class StringGrid;
struct WindowControls;

// Where the window's controls stand: their laid-out places, the labels and
// the controls they name, what screen readers call each box and grid, the
// Tab chain, and how each control follows a window larger than laid out.
class WindowLayout {
  public:
    // Gives `window` its font, laid-out size and place, makes every control
    // of `controls` in its laid-out place in it, names them for screen
    // readers and chains them in the layout's Tab order.
    WindowLayout(QWidget& window, WindowControls& controls);

    // Gives the room beyond the laid-out size to the pages, the three grids
    // and the chart, widens the formula boxes, and moves the rows below the
    // pages down. A window smaller than laid out changes nothing.
    void follow(QSize size) const;

    // A part's control in the rows below the pages: it moves down with them
    // and takes the new width.
    void followsBelowPages(QWidget* control);

    // The point table's columns: x and f(x) as laid out, or three narrower
    // ones where a weight column joins them.
    static void sizePointColumns(StringGrid& points, bool weighted);

  private:
    // How much of the new height a control moves down or grows by.
    enum class Share { none, upperHalf, lowerHalf, all };
    struct Follow {
        bool wider; // takes all the new width
        Share down, taller;
    };
    std::vector<std::tuple<QWidget*, QRect, Follow>> anchors;
    QSize laidOut;
};
