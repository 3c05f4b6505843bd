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
