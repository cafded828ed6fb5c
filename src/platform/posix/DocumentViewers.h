#pragma once

#include <filesystem>

#include "platform/posix/PosixEnvironment.h"

namespace nagitori::posix {

// Opens a file or folder with an application that can show it, and returns a shell result: the default
// application for its content type; where that one runs in a terminal and GLib knows none of the installed
// terminals (it looks for a dozen by name, not for the system's x-terminal-emulator), that same program in the
// system's terminal emulator; else the next application registered for the type. Text that no application
// can show opens in a pager in the terminal emulator.
int OpenDocument(const std::filesystem::path& path, const PosixEnvironment& environment);

}  // namespace nagitori::posix
