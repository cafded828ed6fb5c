#include "settings/SettingsPath.h"

namespace nagitori {

std::filesystem::path SettingsFilePath(const std::filesystem::path& executablePath) {
    std::filesystem::path path = executablePath;
    return path.replace_extension(".ini");
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
