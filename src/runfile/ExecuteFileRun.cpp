#include "runfile/ExecuteFileRun.h"

#include "platform/LaunchRequest.h"
#include "runfile/ExecuteFileRunDialog.h"

namespace nagitori {

void ExecuteFileRun(System& system, Desktop& desktop, QWidget* mainWindow) {
    TExecuteFileRun dialog(system, desktop, mainWindow);
    if (desktop.RunModal(dialog) != QDialog::Accepted) {
        return;
    }
    const QString target = dialog.ExecuteFilePath->currentText();
    LaunchRequest request;
    request.verb = dialog.AnAdminAdd->isChecked() ? "runas" : "open";
    request.target = target.toStdString();
    request.parameters = dialog.CommandLine->text().toStdString();
    request.directory = dialog.CurrentDirectory->currentText().toStdString();
    // The list offers only its three sizes, so the mapping always succeeds.
    ShowCommandForIndex(dialog.WindowSize->currentIndex(), request.showCommand);
    request.parent = mainWindow != nullptr ? mainWindow->winId() : 0;
    if (!LaunchSucceeded(system.ShellExecute(request))) {
        desktop.MessageBox(mainWindow, QStringLiteral("\"") + target + QString::fromUtf8("\"の起動に失敗しました。"),
                           mb::kIconWarning);
    }
}

}  // namespace nagitori
