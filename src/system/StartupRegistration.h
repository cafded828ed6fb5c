#pragma once

#include "platform/Desktop.h"
#include "platform/System.h"

class QWidget;

namespace nagitori {

// The run key value that registers the program to start with the system.
inline constexpr char kStartupValueName[] = "Nagitori";

// Whether the program is registered: the run key opens for full access and holds a non-empty value.
// A value of the wrong data type raises Error.
bool DetectStartup(System& system);

// Asks the user, then removes the registration (`registered`) or registers the running executable, and confirms.
// True when the change was made, so the caller flips its state; false when the user cancelled or the run key could
// not be opened, with nothing changed. A failed write raises Error.
bool StartupEntryOrDelete(System& system, Desktop& desktop, QWidget* parent, bool registered);

}  // namespace nagitori
