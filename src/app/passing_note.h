#pragma once

#include <QLabel>

#include <vector>

// A note that shows over the foot of a widget for a few seconds, as a
// tooltip looks: what Generate dropped, or that decimal commas were read.
class PassingNote : public QLabel {
  public:
    // Stands on `parent`, over the foot of `over`, which it follows as it grows.
    PassingNote(QWidget& parent, const QWidget& over);

    void pass(const QString& text);
    // "Read 3 points with decimal commas" (", and thousands dots"); `what`
    // the rows are ("point").
    void passDecimalCommas(size_t rows, const char* what, bool thousands);
    // That a file of `points` opened in least squares, and how to go back.
    void passOpenedInLeastSquares(size_t points, bool decimalCommas);
    // How many of the rows filled before a step (filledRows) a table of
    // `rowCount` rows has dropped, if any, and that Ctrl+Z brings them back.
    void passDropped(const std::vector<int>& filledBefore, int rowCount);

  private:
    const QWidget& over;
};
