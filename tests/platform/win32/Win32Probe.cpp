// Writes, one per line, what the Win32 backend reports about the running program, to probe.txt in the
// current folder: the executable's path and the settings file's path, as UTF-8.
#include <fstream>

#include "common/Utf8Path.h"
#include "platform/win32/Win32System.h"
#include "settings/SettingsPath.h"

int main() {
    nagitori::win32::Win32System system;
    const std::filesystem::path executable = system.ExecutablePath();
    std::ofstream out("probe.txt", std::ios::binary);
    out << nagitori::Utf8FromPath(executable) << '\n'
        << nagitori::Utf8FromPath(nagitori::SettingsFilePath(executable)) << '\n';
    return out ? 0 : 1;
}
