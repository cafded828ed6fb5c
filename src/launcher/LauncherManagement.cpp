#include "launcher/LauncherManagement.h"

#include "launcher/LauncherDialog.h"

namespace nagitori {

bool OpenLauncherManagement(System& system, Desktop& desktop, QWidget* owner) {
    TLauncher dialog(system, desktop, owner);
    return desktop.RunModal(dialog) == QDialog::Accepted;
}

bool AddDroppedLaunchers(System& system, Desktop& desktop, QWidget* owner, const QStringList& files) {
    TLauncher dialog(system, desktop, owner);
    if (!dialog.FilesDropped(files)) {
        return false;
    }
    dialog.setResult(QDialog::Accepted);
    dialog.OKClick();
    if (dialog.result() == QDialog::Accepted) {
        return true;
    }
    // The save failed: the dialog shows the dropped entries among the others, to save again or cancel.
    return desktop.RunModal(dialog) == QDialog::Accepted;
}

}  // namespace nagitori
