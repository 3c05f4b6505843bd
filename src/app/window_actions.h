#pragma once

#include <QObject>

#include <initializer_list>
#include <utility>
#include <vector>

class QAction;
class QLineEdit;
struct WindowControls;
class QMenu;
class QPushButton;
class QUndoStack;
class QWidget;
class StringGrid;

// The window's actions, each made once and shared by its keys and the
// point table's context menu: Open, Save, the report, Undo and Redo on the
// whole window; the steps of the elimination on the answer grid's menu;
// Cut, Copy, Paste and Delete of the point table, whose keys the grid takes
// itself. Undo and Redo keep their own texts and enabled state.
class WindowActions : public QObject {
  public:
    WindowActions(QWidget& window, QUndoStack& history, StringGrid& points, StringGrid& answers);

    QAction* open;
    QAction* save;
    QAction* saveCommas; // semicolons and decimal commas, for such spreadsheets
    QAction* print;      // the report, through the print dialog (Ctrl+P)
    QAction* saveReport; // the report as a PDF file
    QAction* undo;
    QAction* redo;
    QAction* steps; // the elimination step by step (Ctrl+T)
    // The point table's context menu, built once from the actions.
    QMenu* pointsMenu;
    // The answer grid's: the steps, and Copy.
    QMenu* answersMenu;

    // Ctrl+S saves as the user last chose, this run and the next.
    void rememberSave(bool decimalCommas);

    // Enter in a box presses the button that box feeds: Degree Generate,
    // x f(x), x and f(x) Add, Min, Max and Step Draw.
    static void pressOnEnter(const WindowControls& controls);

    // Undo and Redo in one of these boxes undo its own typing first; once it
    // has nothing of its own left, the keys undo and redo the window's steps.
    // Alt and a letter that presses no button types nothing into them.
    void passUndoFrom(const std::vector<QLineEdit*>& boxes);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
