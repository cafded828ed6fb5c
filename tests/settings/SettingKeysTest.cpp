#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "settings/ProfileFile.h"
#include "settings/SettingKeys.h"
#include "support/TempDir.h"

namespace nagitori::setting_keys {
namespace {

// The text with the line ends that a new file gets on this platform.
std::string NewFileLines(std::string_view text) {
    std::string lines;
    for (const char c : text) {
        if (c == '\n') {
            lines += kNewFileLineEnd;
        } else {
            lines += c;
        }
    }
    return lines;
}

TEST(SettingKeys, MissingFileGivesTheDefaultsOfEveryKey) {
    test::TempDir dir;
    const ProfileFile file(dir / "nagitori.ini");
    EXPECT_EQ(Read(file, kCommandLine), "");
    EXPECT_EQ(Read(file, kCurrentDirectory), "");
    EXPECT_EQ(Read(file, kWindowSize), 1);
    EXPECT_FALSE(Read(file, kGiveAdministrator));
    EXPECT_FALSE(Read(file, kWindowTopShow));
    EXPECT_FALSE(Read(file, kRunAdministrator));
    EXPECT_EQ(Read(file, kRunShowTab), 0);
    EXPECT_EQ(Read(file, kLauncherName), 1);
    EXPECT_EQ(Read(file, kLauncherCurrentDirectory), 1);
    EXPECT_EQ(Read(file, kExecuteFileRunCurrentDirectory), 1);
}

TEST(SettingKeys, WritesTheTenKeysUnderTheirNames) {
    test::TempDir dir;
    ProfileFile file(dir / "nagitori.ini");
    Write(file, kCommandLine, "/s");
    Write(file, kCurrentDirectory, "C:\\");
    Write(file, kWindowSize, 2);
    Write(file, kGiveAdministrator, true);
    Write(file, kRunAdministrator, false);
    Write(file, kWindowTopShow, true);
    Write(file, kRunShowTab, 3);
    Write(file, kLauncherName, 0);
    Write(file, kLauncherCurrentDirectory, -1);
    Write(file, kExecuteFileRunCurrentDirectory, 1);
    EXPECT_EQ(test::ReadFileBytes(file.Path()), NewFileLines("[ToolRunOption]\n"
                                                             "CommandLine=/s\n"
                                                             "CurrentDirectory=C:\\\n"
                                                             "WindowSize=2\n"
                                                             "GiveAdministrator=1\n"
                                                             "[Start]\n"
                                                             "RunAdministrator=0\n"
                                                             "WindowTopShow=1\n"
                                                             "RunShowTab=3\n"
                                                             "[AutoInput]\n"
                                                             "Launcher_Name=0\n"
                                                             "Launcher_CurrentDirectory=-1\n"
                                                             "ExecuteFileRun_CurrentDirectory=1\n"));
    EXPECT_EQ(Read(file, kLauncherCurrentDirectory), -1);
    EXPECT_TRUE(Read(file, kWindowTopShow));
}

}  // namespace
}  // namespace nagitori::setting_keys
