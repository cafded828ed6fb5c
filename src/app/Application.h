#pragma once

#include "platform/Desktop.h"
#include "platform/System.h"

namespace nagitori {

// Creates the main window, shows it and runs the event loop until it closes. Returns the exit code.
// When start-up refused to go on, returns before the loop handles any input.
int RunApplication(System& system, Desktop& desktop);

}  // namespace nagitori
