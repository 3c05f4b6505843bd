#pragma once

#include <QLabel>

// A note that shows over the foot of a widget for a few seconds, as a
// tooltip looks: what Generate dropped, or that decimal commas were read.
class PassingNote : public QLabel {
  public:
    // Stands on `parent`, over the foot of `over`, which it follows as it grows.
    PassingNote(QWidget& parent, const QWidget& over);

    void pass(const QString& text);

  private:
    const QWidget& over;
};
