#pragma once

class QListWidget;
class QPushButton;

namespace nagitori {

// Sets a button's caption a little narrower (down to 80 % of its width) where it would not fit beside the
// button's icon; with a wide enough button, or without an icon, the application font stays.
void FitCaptionBesideIcon(QPushButton& button);

// Sets each entry of a list a little narrower (down to 80 %) where it would not fit on one line of the list:
// with word wrap, Japanese text would break anywhere, even inside a word.
void FitEntriesOnOneLine(QListWidget& list);

}  // namespace nagitori
