#pragma once

#include <QLineEdit>

#include <string>

// An edit box's text as the conversions read it (UTF-8), and back.
inline std::string Text(const QLineEdit& box) {
    return box.text().toStdString();
}
inline void SetText(QLineEdit& box, const std::string& text) {
    box.setText(QString::fromStdString(text));
}

// The longest text a user may put into a box or a cell, in characters. The
// longest a handler writes is about 6,000 (the Result at the largest degree);
// at this length a keystroke and its repaint still take under 10 ms, and the
// time grows with the length.
inline constexpr int kMaxTextLength = 32768;

// Lets the user type, paste or drop at most kMaxTextLength characters into
// `box`. An edit that would make the text longer is refused whole, and a
// message says why once control returns to the event loop. `where` names the
// box in the message: "a box", "a cell". Texts the program writes are kept
// up to one character more: far beyond any the program writes.
void limitLength(QLineEdit& box, const char* where = "a box");

// The message for a text offered where it does not fit; `where` names the
// place ("a box", "a cell").
std::string tooLongMessage(const char* where);
