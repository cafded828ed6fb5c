#pragma once

#include "platform/Desktop.h"
#include "platform/System.h"

class QWidget;

namespace nagitori {

// The main window's "実行ファイルを指定して起動": opens the run-a-file dialog modally and, when it was
// confirmed, hands its file to the shell and reports a failed launch. The dialog has already written
// the histories by then. Errors the dialog does not handle itself pass to the caller.
void ExecuteFileRun(System& system, Desktop& desktop, QWidget* mainWindow);

}  // namespace nagitori
