#pragma once

#include "platform/Desktop.h"
#include "platform/System.h"

class QWidget;

namespace nagitori {

// Runs the launcher management dialog, owned by owner, and destroys it. Returns true when it closed with
// OK: the launcher data file may have changed, so the caller refreshes the launcher buttons.
bool OpenLauncherManagement(System& system, Desktop& desktop, QWidget* owner);

}  // namespace nagitori
