#pragma once

class QWidget;

namespace nagitori {

// Centres a dialog on its owner's window, frame on frame, taking the owner's window frame as what the window
// manager will put around the dialog. Qt's own placement guesses a frame of 10 by 40 pixels wherever the
// window manager draws none at the sides (GNOME, KDE), which lifts dialogs well above the centre. Without a
// visible owner Qt's placement stays. Call before the dialog's window is mapped, with its size settled.
void CentreOnOwner(QWidget& dialog);

// Centres the dialog on its owner each time it is shown, before its window is mapped.
void CentreOnOwnerWhenShown(QWidget& dialog);

}  // namespace nagitori
