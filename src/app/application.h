#pragma once

// What the program sets up once on its application object before the window
// is made: its name, its desktop entry, and a style that hides the mnemonic
// marks of button captions until Alt is held, so captions look as laid out
// while Alt and the letter still reach each button.
void setUpApplication();
