#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/Utf8Path.h"
#include "settings/SettingsPath.h"

namespace nagitori {
namespace {

// The path in UTF-8 with "/" between its parts, on every platform.
std::string Generic(const std::filesystem::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

TEST(SettingsPath, ReplacesOrAppendsTheExtension) {
    struct Case {
        const char* executable;
        const char* settings;
    };
    const Case cases[] = {
        {"/usr/bin/nagitori", "/usr/bin/nagitori.ini"},
        {"/opt/nagitori/Nagitori.exe", "/opt/nagitori/Nagitori.ini"},
        {"/opt/app.d/nagitori", "/opt/app.d/nagitori.ini"},
        {"/opt/nagitori-13.1.x86_64", "/opt/nagitori-13.1.ini"},
        {"/home/u/bin/nagitori.", "/home/u/bin/nagitori.ini"},
        {"/home/u/bin/.nagitori", "/home/u/bin/.nagitori.ini"},
        {"/home/u/\xE3\x83\x84\xE3\x83\xBC\xE3\x83\xAB/\xE3\x83\x8A\xE3\x82\xAE.bin",
         "/home/u/\xE3\x83\x84\xE3\x83\xBC\xE3\x83\xAB/\xE3\x83\x8A\xE3\x82\xAE.ini"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Generic(SettingsFilePath(PathFromUtf8(c.executable))), c.settings) << c.executable;
    }
}

TEST(SettingsPath, DataFilesLieInTheDataFolder) {
    const std::string folder = "/home/u/.config/\xE3\x83\x8A\xE3\x82\xAE\xE3\x83\x88\xE3\x83\xAA";
    EXPECT_EQ(Generic(DataFolder("/home/u/.config")), folder);
    EXPECT_EQ(Generic(DataFolder("/home/u/.config/")), folder);
    EXPECT_EQ(Generic(LauncherDataPath("/home/u/.config")), folder + "/LauncherData.ini");
    EXPECT_EQ(Generic(ExecuteFileHistoryPath("/home/u/.config")), folder + "/ExecuteFileHistory.txt");
    EXPECT_EQ(Generic(CurrentDirectoryHistoryPath("/home/u/.config")), folder + "/CurrentDirectoryHistory.txt");
    // Without an application-data folder the prefix is empty: the paths start at the root.
    EXPECT_EQ(Generic(LauncherDataPath("")), "/\xE3\x83\x8A\xE3\x82\xAE\xE3\x83\x88\xE3\x83\xAA/LauncherData.ini");
}

}  // namespace
}  // namespace nagitori
