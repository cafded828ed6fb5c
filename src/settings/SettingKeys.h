#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/ProfileFile.h"

// The keys of the settings file with the one default every reader uses.
namespace nagitori::setting_keys {

struct TextKey {
    std::string_view section;
    std::string_view key;
    std::string_view defaultValue;
};

struct IntegerKey {
    std::string_view section;
    std::string_view key;
    std::int32_t defaultValue;
};

struct BoolKey {
    std::string_view section;
    std::string_view key;
    bool defaultValue;
};

inline constexpr std::string_view kToolRunOption = "ToolRunOption";
inline constexpr std::string_view kStart = "Start";
inline constexpr std::string_view kAutoInput = "AutoInput";

// Arguments and working directory of the built-in tools; WindowSize is a window-size index.
inline constexpr TextKey kCommandLine{kToolRunOption, "CommandLine", ""};
inline constexpr TextKey kCurrentDirectory{kToolRunOption, "CurrentDirectory", ""};
inline constexpr IntegerKey kWindowSize{kToolRunOption, "WindowSize", 1};
inline constexpr BoolKey kGiveAdministrator{kToolRunOption, "GiveAdministrator", false};

inline constexpr BoolKey kWindowTopShow{kStart, "WindowTopShow", false};
inline constexpr BoolKey kRunAdministrator{kStart, "RunAdministrator", false};
// The page shown at start-up, 0 to 4.
inline constexpr IntegerKey kRunShowTab{kStart, "RunShowTab", 0};
// The key that calls the window up from anywhere, in Qt's portable text ("Ctrl+Alt+Space"); empty for none.
inline constexpr TextKey kSummonKey{kStart, "SummonKey", ""};

// 1 fills an empty field from the chosen file; every other number leaves it alone.
inline constexpr IntegerKey kLauncherName{kAutoInput, "Launcher_Name", 1};
inline constexpr IntegerKey kLauncherCurrentDirectory{kAutoInput, "Launcher_CurrentDirectory", 1};
inline constexpr IntegerKey kExecuteFileRunCurrentDirectory{kAutoInput, "ExecuteFileRun_CurrentDirectory", 1};

inline std::string Read(const ProfileFile& file, const TextKey& key) {
    return file.ReadString(key.section, key.key, key.defaultValue);
}
inline std::int32_t Read(const ProfileFile& file, const IntegerKey& key) {
    return file.ReadInteger(key.section, key.key, key.defaultValue);
}
inline bool Read(const ProfileFile& file, const BoolKey& key) {
    return file.ReadBool(key.section, key.key, key.defaultValue);
}

inline void Write(ProfileFile& file, const TextKey& key, std::string_view value) {
    file.WriteString(key.section, key.key, value);
}
inline void Write(ProfileFile& file, const IntegerKey& key, std::int32_t value) {
    file.WriteInteger(key.section, key.key, value);
}
inline void Write(ProfileFile& file, const BoolKey& key, bool value) {
    file.WriteBool(key.section, key.key, value);
}

}  // namespace nagitori::setting_keys
