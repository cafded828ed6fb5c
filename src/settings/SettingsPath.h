#pragma once

#include <filesystem>

namespace nagitori {

class System;

// The settings file beside the executable: its path with the extension replaced by ".ini", or with
// ".ini" appended when the name has none. Only the file name's last dot counts, and a leading dot (a
// hidden name such as ".nagitori") starts no extension.
std::filesystem::path SettingsFileBeside(const std::filesystem::path& executablePath);

// The settings file every window uses. It lies beside the executable when something is there under that name
// already, or when the user may write the executable's folder: a program unpacked or installed into a folder of
// one's own keeps its settings with it. Otherwise, as for a program installed for every user, it is
// "nagitori.ini" in the data folder. An administrator may write every folder, so for one only a file already
// there counts: a file created beside a shared program would become every user's settings.
std::filesystem::path SettingsFilePath(System& system);

// The program's data folder in the user's application-data folder. When that folder is unknown (empty),
// the prefix is empty and the data folder is "/ナギトリ" at the file-system root.
std::filesystem::path DataFolder(const std::filesystem::path& appDataFolder);

std::filesystem::path LauncherDataPath(const std::filesystem::path& appDataFolder);
std::filesystem::path ExecuteFileHistoryPath(const std::filesystem::path& appDataFolder);
std::filesystem::path CurrentDirectoryHistoryPath(const std::filesystem::path& appDataFolder);

}  // namespace nagitori
