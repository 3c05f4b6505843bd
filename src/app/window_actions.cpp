#include "app/window_actions.h"

#include "app/window_controls.h"

#include "toolkit/string_grid.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QUndoStack>

WindowActions::WindowActions(QWidget& window, QUndoStack& history, StringGrid& points,
                             StringGrid& answers)
    : QObject(&window) {
    open = new QAction("&Open…", this);
    open->setShortcuts(QKeySequence::Open);
    save = new QAction("&Save…", this);
    saveCommas = new QAction("Save with decimal co&mmas…", this);
    rememberSave(QSettings().value("saveWithDecimalCommas").toBool());
    print = new QAction("Pri&nt report…", this);
    print->setShortcuts(QKeySequence::Print);
    saveReport = new QAction("Save report as PD&F…", this);
    undo = history.createUndoAction(this, "&Undo");
    undo->setShortcuts(QKeySequence::Undo);
    redo = history.createRedoAction(this, "&Redo");
    // Ctrl+Shift+Z and Ctrl+Y both redo, on every desktop.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
        if (!redoKeys.contains(keys))
            redoKeys << keys;
    redo->setShortcuts(redoKeys);
    steps = new QAction("S&tep through the elimination…", this);
    steps->setShortcut(Qt::CTRL | Qt::Key_T);
    window.addActions({open, save, saveCommas, print, undo, redo, steps});

    pointsMenu = new QMenu(&window);
    pointsMenu->addActions({open, save, saveCommas, print, saveReport});
    pointsMenu->addSeparator();
    pointsMenu->addActions({undo, redo});
    pointsMenu->addSeparator();
    const auto tableAction = [&](const QString& text, QKeySequence::StandardKey keys, auto slot) {
        QAction* action = pointsMenu->addAction(text, &points, slot);
        action->setShortcut(keys); // shown; the grid takes the keys itself
    };
    tableAction("Cu&t", QKeySequence::Cut, [&points] { points.cutSelection(); });
    tableAction("&Copy", QKeySequence::Copy, [&points] { points.copySelection(); });
    tableAction("&Paste", QKeySequence::Paste,
                [&points] { points.pasteText(QApplication::clipboard()->text()); });
    tableAction("&Delete", QKeySequence::Delete, [&points] { points.deleteSelection(); });
    answersMenu = new QMenu(&window);
    answersMenu->addAction(steps);
    answersMenu->addAction("&Copy", &answers, [&answers] { answers.copySelection(); })
        ->setShortcut(QKeySequence::Copy);
    for (const auto& [grid, menu] : {std::pair{&points, pointsMenu}, {&answers, answersMenu}}) {
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(grid, &QWidget::customContextMenuRequested, this,
                [grid = grid, menu = menu](const QPoint& at) {
                    menu->popup(grid->viewport()->mapToGlobal(at));
                });
    }
}

void WindowActions::rememberSave(bool decimalCommas) {
    QSettings().setValue("saveWithDecimalCommas", decimalCommas);
    (decimalCommas ? save : saveCommas)->setShortcuts({});
    (decimalCommas ? saveCommas : save)->setShortcuts(QKeySequence::Save);
}

void WindowActions::passUndoFrom(const std::vector<QLineEdit*>& boxes) {
    for (QLineEdit* box : boxes)
        box->installEventFilter(this);
}

bool WindowActions::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    // Alt and a letter presses a button when one shows that letter; when none
    // on the shown page does, the letter is not typed instead.
    if (box && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        return key->modifiers() == Qt::AltModifier && key->key() >= Qt::Key_A &&
               key->key() <= Qt::Key_Z;
    }
    if (box && event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        // Left unaccepted, the key goes on to the window's action.
        if ((undo->shortcuts().contains(pressed) && !box->isUndoAvailable()) ||
            (redo->shortcuts().contains(pressed) && !box->isRedoAvailable()))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

void WindowActions::pressOnEnter(const WindowControls& c) {
    const std::pair<QLineEdit*, QPushButton*> feeds[] = {
        {c.txtDegree, c.btnGenerate}, {c.txtRX, c.btnFx},    {c.txtX, c.btnAdd},
        {c.txtFx, c.btnAdd},          {c.txtMin, c.btnDraw}, {c.txtMax, c.btnDraw},
        {c.txtStep, c.btnDraw}};
    for (const auto& [box, button] : feeds)
        connect(box, &QLineEdit::returnPressed, button, &QPushButton::click);
}
