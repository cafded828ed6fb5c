#include "settings/SettingsPath.h"

#include <system_error>

#include "platform/System.h"

namespace nagitori {

std::filesystem::path SettingsFileBeside(const std::filesystem::path& executablePath) {
    std::filesystem::path path = executablePath;
    return path.replace_extension(".ini");
}

std::filesystem::path SettingsFilePath(System& system) {
    const std::filesystem::path executable = system.ExecutablePath();
    std::filesystem::path beside = SettingsFileBeside(executable);
    // A link or anything else the user put there counts as his choice, even when it leads nowhere yet.
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(beside, error))) {
        return beside;
    }
    if (!system.IsUserAnAdmin() && system.MayWriteFolder(executable.parent_path())) {
        return beside;
    }
    return DataFolder(system.AppDataFolder()) / "nagitori.ini";
}

std::filesystem::path DataFolder(const std::filesystem::path& appDataFolder) {
    const std::filesystem::path name(u8"ナギトリ");
    if (appDataFolder.empty()) {
        return std::filesystem::path("/") / name;
    }
    return appDataFolder / name;
}

std::filesystem::path LauncherDataPath(const std::filesystem::path& appDataFolder) {
    return DataFolder(appDataFolder) / "LauncherData.ini";
}

std::filesystem::path ExecuteFileHistoryPath(const std::filesystem::path& appDataFolder) {
    return DataFolder(appDataFolder) / "ExecuteFileHistory.txt";
}

std::filesystem::path CurrentDirectoryHistoryPath(const std::filesystem::path& appDataFolder) {
    return DataFolder(appDataFolder) / "CurrentDirectoryHistory.txt";
}

}  // namespace nagitori
