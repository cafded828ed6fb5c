#pragma once

#include "platform/Desktop.h"
#include "platform/System.h"

#include <QStringList>

class QWidget;

namespace nagitori {

// Runs the launcher management dialog, owned by owner, and destroys it. Returns true when it closed with
// OK: the launcher data file may have changed, so the caller refreshes the launcher buttons.
bool OpenLauncherManagement(System& system, Desktop& desktop, QWidget* owner);

// Registers files dropped on the launcher page: each through the entry editor, as the management dialog's Add
// does, and saves at once. When the save fails, the management dialog opens with the new entries, so that none
// is lost. Returns true when the launcher data file may have changed.
bool AddDroppedLaunchers(System& system, Desktop& desktop, QWidget* owner, const QStringList& files);

}  // namespace nagitori
