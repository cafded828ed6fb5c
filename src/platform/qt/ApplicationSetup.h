#pragma once

class QApplication;

namespace nagitori {

// Names the application, makes Qt's own texts (standard buttons, file dialogs) Japanese and sets the
// application font. Called once, right after the QApplication is created.
void SetUpApplication(QApplication& app);

}  // namespace nagitori
