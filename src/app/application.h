#pragma once

// What the program sets up once on its application object before the window
// is made: its name, its desktop entry, and a style that hides the mnemonic
// marks of button captions until Alt is held, so captions look as laid out
// while Alt and the letter still reach each button.
void setUpApplication();

#include <QRect>

class QWidget;

// Shows the window, fitted to a screen whose free area is `available`: as it
// is when it fits, otherwise inside a scrolling frame that fills that area,
// its title bar and borders included, so that every control can still be
// reached. Returns the top-level widget shown: `window` itself, or the
// frame, which then owns `window`.
QWidget* showFitted(QWidget& window, QRect available);
