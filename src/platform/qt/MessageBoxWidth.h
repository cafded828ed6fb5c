#pragma once

class QMessageBox;

namespace nagitori {

// Widens a shown message box whose wrapped text would end a paragraph in a short line ("か?", "ん。"): Japanese
// breaks between any two characters, and Qt wraps at a fixed width. Wide enough, the last line holds at least
// a few characters, or the paragraph one line less. Call from the box's show event, after Qt sized it.
void WidenAgainstShortLastLines(QMessageBox& box);

}  // namespace nagitori
