#pragma once

#include "app/Unit1.h"
#include "support/cells.h"
#include "toolkit/string_grid.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// Every test runs offscreen with errors recorded instead of shown; a modal
// dialog that opens anyway fails the running test and is closed.
class TarvelTest : public ::testing::Test {
  protected:
    void SetUp() override;
    // Messages the guard has shown since the test started.
    const QStringList& errors() const;
};

// The window's private fields, read by the tests.
struct TForm1State {
    static int pointCount(const TForm1& form) { return form.pointCount; }
    static int degree(const TForm1& form) { return form.degree; }
    static const std::vector<std::string>& coefNames(const TForm1& form) { return form.coefNames; }
    static QUndoStack& undoStack(TForm1& form) { return form.history.stack; }
    static size_t undoBytes(const TForm1& form) { return form.history.bytes(); }
};

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Shows the window and makes it the active one, as keyboard and mouse tests
// need; false when it does not become active.
bool showActive(QWidget& window);

// Types into the grid's current cell as a user does: the first key opens the
// cell's editor, the rest go into it. The editor stays open.
void typeIntoCell(StringGrid& grid, const QString& text);

// Puts these points into the window's table at the degree they need, as
// typing the degree, Generate and typing the points would.
void setPoints(TForm1& form, const Grid& rows);
