#include "toolkit/text_box.h"

#include "toolkit/error_display.h"

#include <QValidator>

namespace {

// Validation runs inside the box's own edit, before the change is kept: an
// Invalid answer takes the whole edit back. The message waits for the event
// loop, so no dialog opens in the middle of the edit.
class LengthLimit : public QValidator {
  public:
    LengthLimit(QObject* parent, const char* where) : QValidator(parent), where(where) {}
    State validate(QString& text, int&) const override {
        if (text.size() <= kMaxTextLength)
            return Acceptable;
        const QString message = QString::fromStdString(tooLongMessage(where));
        QMetaObject::invokeMethod(
            parent(), [message] { showError(message); }, Qt::QueuedConnection);
        return Invalid;
    }

  private:
    const char* where;
};

} // namespace

void limitLength(QLineEdit& box, const char* where) {
    // The box cuts an edit at one character past the limit before it keeps
    // anything (it records every character it inserts, so a huge paste would
    // cost seconds); the validator then refuses the edit whole.
    box.setMaxLength(kMaxTextLength + 1);
    box.setValidator(new LengthLimit(&box, where));
}
