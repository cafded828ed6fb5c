#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/SettingsPath.h"

namespace nagitori {
namespace {

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
        EXPECT_EQ(SettingsFilePath(c.executable).string(), c.settings) << c.executable;
    }
}

TEST(SettingsPath, DataFilesLieInTheDataFolder) {
    const std::string folder = "/home/u/.config/\xE3\x83\x8A\xE3\x82\xAE\xE3\x83\x88\xE3\x83\xAA";
    EXPECT_EQ(DataFolder("/home/u/.config").string(), folder);
    EXPECT_EQ(DataFolder("/home/u/.config/").string(), folder);
    EXPECT_EQ(LauncherDataPath("/home/u/.config").string(), folder + "/LauncherData.ini");
    EXPECT_EQ(ExecuteFileHistoryPath("/home/u/.config").string(), folder + "/ExecuteFileHistory.txt");
    EXPECT_EQ(CurrentDirectoryHistoryPath("/home/u/.config").string(), folder + "/CurrentDirectoryHistory.txt");
    // Without an application-data folder the prefix is empty: the paths start at the root.
    EXPECT_EQ(LauncherDataPath("").string(), "/\xE3\x83\x8A\xE3\x82\xAE\xE3\x83\x88\xE3\x83\xAA/LauncherData.ini");
}

}  // namespace
}  // namespace nagitori
