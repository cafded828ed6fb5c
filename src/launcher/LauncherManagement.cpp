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
    dialog.OKClick();
    return true;
}

}  // namespace nagitori
