#pragma once

class QPushButton;

namespace nagitori {

// Sets a button's caption a little narrower (down to 80 % of its width) where it would not fit beside the
// button's icon; with a wide enough button, or without an icon, the application font stays.
void FitCaptionBesideIcon(QPushButton& button);

}  // namespace nagitori
