#pragma once

class QMainWindow;
class QMenuBar;

namespace nagitori {

// Keyboard access to a main window with a menu bar, as users of the original platform know it:
// - Alt+key presses the one visible, enabled button of the window whose caption marks that key, also when
//   a menu title marks the same key (Qt would call the key ambiguous: the first press only moves the
//   focus to the button, the next opens the menu, and the button is never pressed);
// - the menus stay within reach: F10 opens the first menu; a lone Alt (the styles' own menu bar
//   navigation) and a click work as always.
void SetUpAccessKeys(QMainWindow& window, QMenuBar& menuBar);

}  // namespace nagitori
