#include "toolkit/error_display.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>
#include <utility>

namespace {

void showMessageBox(const QString& message) {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), message);
}

ErrorPresenter& presenter() {
    static ErrorPresenter current = showMessageBox;
    return current;
}

} // namespace

ErrorPresenter setErrorPresenter(ErrorPresenter replacement) {
    return std::exchange(presenter(), std::move(replacement));
}

void showError(const QString& message) {
    presenter()(message);
}

bool guarded(const std::function<void()>& handler, QString* shown) {
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        const QString message = QString::fromUtf8(error.what());
        if (shown)
            *shown = message;
        showError(message);
        return false;
    }
}
