#pragma once

#include "app/HandOver.h"
#include "platform/Desktop.h"
#include "platform/System.h"

namespace nagitori {

// Creates the main window, shows it and runs the event loop until it closes. Returns the exit code.
// When start-up refused to go on, returns before the loop handles any input. Once the window is up, this copy
// serves the socket of `claim`: later starts' requests bring the window forward.
int RunApplication(System& system, Desktop& desktop, InstanceClaim& claim);

}  // namespace nagitori
