#pragma once

class QApplication;

namespace nagitori {

// Names the application, makes Qt's own texts (standard buttons, file dialogs) Japanese, sets the
// application font and keeps it against platform themes, and, where the desktop names no icon theme, an
// installed one. Called once, right after the QApplication is created.
void SetUpApplication(QApplication& app);

}  // namespace nagitori
