#pragma once

#include <QApplication>
#include <QScopeGuard>

// A busy cursor until the guard it returns goes: anything the window does
// may take long with a big table.
[[nodiscard]] inline auto busyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    return qScopeGuard([] { QApplication::restoreOverrideCursor(); });
}
