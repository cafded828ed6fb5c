#pragma once

#include <QStringList>

class QWidget;

namespace nagitori::test {

// Every text of the window's visible controls that its control cannot show whole, measured with the
// control's font against the room its style leaves for text: captions of buttons, check boxes and radio
// buttons (beside their icons and menu arrows), labels, group box titles, tab captions, page-list entries,
// the items of drop-down lists, and the line height of edit fields. Each finding names the control, its
// text and what it needs against what it has; empty when everything fits.
QStringList ClippedTexts(const QWidget& window);

}  // namespace nagitori::test
