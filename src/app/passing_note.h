#pragma once

#include <QLabel>

#include <vector>

struct PointFile;

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
    // What is worth saying of a file just opened: that it opened in least
    // squares, as the table through the points could not take it (`switched`),
    // and how to go back; or that it has decimal commas.
    void passOpened(const PointFile& file, bool switched);
    // How many of the rows filled before a step (filledRows) a table of
    // `rowCount` rows has dropped, if any, and that Ctrl+Z brings them back.
    void passDropped(const std::vector<int>& filledBefore, int rowCount);

  private:
    const QWidget& over;
};
