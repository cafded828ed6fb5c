#pragma once

#include "app/SingleInstance.h"
#include "platform/Desktop.h"
#include "platform/System.h"

namespace nagitori {

// Creates the main window, shows it and runs the event loop until it closes. Returns the exit code.
// When start-up refused to go on, returns before the loop handles any input. Later copies' requests
// (through `instance`) bring the window forward.
int RunApplication(System& system, Desktop& desktop, SingleInstance& instance);

}  // namespace nagitori
