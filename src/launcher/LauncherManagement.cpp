#include "launcher/LauncherManagement.h"

#include "launcher/LauncherDialog.h"

namespace nagitori {

bool OpenLauncherManagement(System& system, Desktop& desktop, QWidget* owner) {
    TLauncher dialog(system, desktop, owner);
    return desktop.RunModal(dialog) == QDialog::Accepted;
}

}  // namespace nagitori
