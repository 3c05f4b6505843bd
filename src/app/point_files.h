#pragma once

#include "fitting/point_file.h"

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class QWidget;
class StringGrid;
class WindowActions;

// Points in files, for the window: the Open and Save dialogs with the folder
// last used, whole files read and written, and what is dropped on the point
// table. It reaches the window only through the callbacks it is given.
class PointFiles : public QObject {
  public:
    // Takes the drops on `table`; a child of `window`.
    PointFiles(QWidget& window, StringGrid& table);

    // The points of the file at `path`, at most `maxPoints` of them. Raises
    // Exception "Cannot open 'name': reason".
    static PointFile read(const QString& path, size_t maxPoints);
    // Writes `text` to `path` whole, or leaves the file there as it was.
    // Raises Exception "Cannot save 'name': reason".
    static void write(const QString& path, const std::string& text);

    // The file the user picks in a dialog, or "" when they cancel.
    QString askForFileToOpen();
    QString askForFileToSave(const QString& title, const QString& filter);

    // What the window does with a file the user picked or dropped.
    struct Handlers {
        std::function<void(const QString& path)> open;
        std::function<void(const QString& path, bool decimalCommas)> save;
        std::function<void(const QString& path)> saveReport;
    };
    // Open, Save, Save with decimal commas and Save report ask for their
    // file and hand it over; a point file (CSV, TSV or text) dropped on the
    // table opens.
    void bind(const WindowActions& actions, Handlers handlers);

  protected:
    // A single point file dropped opens; text dropped pastes at the cell under
    // the pointer; anything else is refused with a message.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString remembered(const QString& path);

    QWidget& window;
    StringGrid& table;
    QWidget* dropTarget; // the table's viewport
    Handlers handlers;
};
