#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/RunKey.h"

namespace nagitori::posix {

// The machine-wide autostart folder: "autostart" in the first absolute entry of XDG_CONFIG_DIRS (the variable's
// value as given), or in /etc/xdg when there is none.
std::filesystem::path SystemAutostartFolder(const std::string& xdgConfigDirs);

// The autostart folder as a run key: value N is the desktop entry "N.desktop" in the folder, its data the program
// of the entry's Exec key. Null unless the folder exists and this process may create and remove files in it;
// the folder is never created.
std::unique_ptr<RunKey> OpenAutostartRunKey(const std::filesystem::path& folder);

}  // namespace nagitori::posix
