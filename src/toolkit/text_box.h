#pragma once

#include "toolkit/text_limits.h"

#include <QLineEdit>

#include <string>

// An edit box's text as the conversions read it (UTF-8), and back.
inline std::string Text(const QLineEdit& box) {
    return box.text().toStdString();
}
inline void SetText(QLineEdit& box, const std::string& text) {
    box.setText(QString::fromStdString(text));
}

// Lets the user type, paste or drop at most kMaxTextLength characters into
// `box`. An edit that would make the text longer is refused whole, and a
// message says why once control returns to the event loop. `where` names the
// box in the message: "a box", "a cell". Texts the program writes are kept
// up to one character more: far beyond any the program writes.
void limitLength(QLineEdit& box, const char* where = "a box");
