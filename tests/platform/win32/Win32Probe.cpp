// Writes, one per line, what the Win32 backend reports about the running program, to probe.txt in the
// current folder: the executable's path and the settings file's path, as UTF-8. Then opens the settings
// file the way the windows do, from its UTF-8 name, and writes that name into it.
#include <fstream>

#include "common/Utf8Path.h"
#include "platform/win32/Win32System.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsPath.h"

int main() {
    nagitori::win32::Win32System system;
    const std::filesystem::path executable = system.ExecutablePath();
    const std::string settingDataFileName = nagitori::Utf8FromPath(nagitori::SettingsFileBeside(executable));
    std::ofstream out("probe.txt", std::ios::binary);
    out << nagitori::Utf8FromPath(executable) << '\n' << settingDataFileName << '\n';
    try {
        nagitori::ProfileFile(nagitori::PathFromUtf8(settingDataFileName))
            .WriteString("Probe", "SettingDataFileName", settingDataFileName);
    } catch (const std::exception&) {
        return 1;
    }
    return out ? 0 : 1;
}
