#pragma once

#include <QFrame>

class CellTable;
class FitKind;
class QLabel;
class QProgressBar;
class QPushButton;

// A least-squares solve whose exact sums would keep the window busy for
// more than about a second sums the points first, on a thread of its own,
// while this bar over the foot of the point table counts them and its
// Cancel button (or Esc) stops them; meanwhile the window takes no other
// input. The solve then finds the points summed.
class SummingBar : public QFrame {
  public:
    SummingBar(QWidget& page, const QWidget& over);

    // Before a solve of `kind` at `degree`: false when Cancel stopped the
    // sums, and nothing has changed.
    bool sumFirst(const CellTable& sgdResult, const FitKind& kind, int degree);

    QLabel* label;
    QProgressBar* bar;
    QPushButton* cancel;

  private:
    const QWidget& over;
};
