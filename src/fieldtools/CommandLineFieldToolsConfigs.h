#pragma once

#include "fieldtools/CommandLineFieldTools.h"

namespace nagitori {

// The settings dialog: the first file name in an empty field stands without a space; no new folders.
inline const CommandLineFieldToolsConfig kSettingFieldTools{{"N1", "N2", "N3", "N4"}, false, false};
inline const CommandLineFieldToolsConfig kLauncherToolEditFieldTools{{"N2", "N3", "N4", "N5"}, true, true};
inline const CommandLineFieldToolsConfig kExecuteFileRunFieldTools{{"N1", "N2", "N3", "N4"}, true, true};

}  // namespace nagitori
