#pragma once

#include "app/HandOver.h"

// The program with its windows, run once no running copy took the start over. On Linux it lives in a library
// beside the executable that is loaded only then, so that a second start never loads Qt's GUI libraries.
extern "C" int NagitoriRunProgram(int argc, char** argv, nagitori::InstanceClaim& claim);

namespace nagitori {

// Loads the program's library where there is one, and runs the program. Returns its exit code.
int RunProgram(int argc, char** argv, InstanceClaim& claim);

}  // namespace nagitori
