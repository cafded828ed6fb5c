#pragma once

#include <filesystem>

namespace nagitori {

// The settings file beside the executable: its path with the extension replaced by ".ini", or with
// ".ini" appended when the name has none. Only the file name's last dot counts, and a leading dot (a
// hidden name such as ".nagitori") starts no extension.
std::filesystem::path SettingsFilePath(const std::filesystem::path& executablePath);

// The program's data folder in the user's application-data folder. When that folder is unknown (empty),
// the prefix is empty and the data folder is "/ナギトリ" at the file-system root.
std::filesystem::path DataFolder(const std::filesystem::path& appDataFolder);

std::filesystem::path LauncherDataPath(const std::filesystem::path& appDataFolder);
std::filesystem::path ExecuteFileHistoryPath(const std::filesystem::path& appDataFolder);
std::filesystem::path CurrentDirectoryHistoryPath(const std::filesystem::path& appDataFolder);

}  // namespace nagitori
