#pragma once

#include <QString>

#include <functional>

// Every handler bound to a control runs inside `guarded`: an error ends the
// handler where it stands, whatever it wrote stays, and its message goes to
// the presenter. No exception ever reaches Qt's event loop.
//
// The presenter is a modal QMessageBox in the program; tests replace it with
// a recorder so that no dialog ever opens.

using ErrorPresenter = std::function<void(const QString& message)>;

// Installs `presenter` and returns the one it replaces.
ErrorPresenter setErrorPresenter(ErrorPresenter presenter);

void showError(const QString& message);

// True when the handler ran to its end; otherwise `shown`, when given, gets
// the message that was shown.
bool guarded(const std::function<void()>& handler, QString* shown = nullptr);
