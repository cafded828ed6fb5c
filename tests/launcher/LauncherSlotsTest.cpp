#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "common/Error.h"
#include "launcher/LauncherSlots.h"
#include "support/TempDir.h"

namespace nagitori {

static void PrintTo(const LauncherEntry& e, std::ostream* out) {
    *out << "{" << e.name << ", " << e.filePath << ", " << e.commandLine << ", " << e.currentDirectory << ", "
         << e.windowSize << ", " << e.anAdminAdd << "}";
}

namespace test {
namespace {

// Slots 1, 3 and 5 used, slot 2 with keys but no name, and sections the launcher never touches.
constexpr char kFileWithGaps[] =
    "; launcher\n"
    "[Application_1]\nName=メモ帳\nFilePath=C:\\Windows\\notepad.exe\nCommandLine=\nCurrentDirectory=C:\\Windows\n"
    "WindowSize=abc\nAnAdminAdd=True\n\n"
    "[Other]\n; kept\nName=foreign\n\n"
    "[Application_2]\nFilePath=/orphan\n"
    "[Application_3]\nName=端末\nFilePath=/usr/bin/xterm\nCommandLine=-e top\nWindowSize=2\nAnAdminAdd=5\n"
    "[application_5]\nName=five\nWindowSize=0\nAnAdminAdd=-1\n"
    "[Application_21]\nName=beyond\n";

TEST(LauncherSlots, UsedSlotsLoadAsAGapFreeListWithDefaults) {
    TempDir dir;
    WriteFileBytes(dir / "LauncherData.ini", kFileWithGaps);
    const std::vector<LauncherEntry> expected = {
        {"メモ帳", "C:\\Windows\\notepad.exe", "", "C:\\Windows", 1, false},
        {"端末", "/usr/bin/xterm", "-e top", "", 2, true},
        {"five", "", "", "", 0, true},
    };
    EXPECT_EQ(ReadLauncherEntries(ProfileFile(dir / "LauncherData.ini")), expected);
    EXPECT_TRUE(ReadLauncherEntries(ProfileFile(dir / "missing" / "LauncherData.ini")).empty());
}

TEST(LauncherSlots, SaveReplacesTheTwentySlotsAndKeepsEverythingElse) {
    const std::string kept = "; launcher\n[Other]\n; kept\nName=foreign\n\n[Application_21]\nName=beyond\n";
    struct Case {
        const char* what;
        std::vector<LauncherEntry> entries;
        std::string expected;
    };
    const Case cases[] = {
        {"entries in list order",
         {{"端末", "/usr/bin/xterm", "-e top", "", 2, true}, {" blank ", "C:\\x.exe", "", "C:\\", 0, false}},
         kept + "[Application_1]\nName=端末\nFilePath=/usr/bin/xterm\nCommandLine=-e top\nCurrentDirectory=\n"
                "WindowSize=2\nAnAdminAdd=1\n"
                "[Application_2]\nName=\" blank \"\nFilePath=C:\\x.exe\nCommandLine=\nCurrentDirectory=C:\\\n"
                "WindowSize=0\nAnAdminAdd=0\n"},
        {"no entries", {}, kept},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        WriteFileBytes(dir / "LauncherData.ini", kFileWithGaps);
        ProfileFile file(dir / "LauncherData.ini");
        SaveLauncherEntries(file, c.entries);
        EXPECT_EQ(ReadFileBytes(dir / "LauncherData.ini"), c.expected);
        EXPECT_EQ(ReadLauncherEntries(file), c.entries);
    }
}

TEST(LauncherSlots, FailedSaveLeavesTheFileAsItWas) {
    TempDir dir;
    WriteFileBytes(dir / "LauncherData.ini", kFileWithGaps);
    ProfileFile file(dir / "LauncherData.ini");
    // The second entry cannot be written after the slots were already erased and the first one written.
    const std::vector<LauncherEntry> entries = {{"a", "/a", "", "", 1, false}, {"b", "/b", "x\ny", "", 1, false}};
    EXPECT_THROW(SaveLauncherEntries(file, entries), WriteError);
    EXPECT_EQ(ReadFileBytes(dir / "LauncherData.ini"), kFileWithGaps);

    // The folder is a regular file: nothing can be written there.
    WriteFileBytes(dir / "folder", "not a folder");
    ProfileFile blocked(dir / "folder" / "LauncherData.ini");
    EXPECT_THROW(SaveLauncherEntries(blocked, entries), WriteError);
    EXPECT_EQ(ReadFileBytes(dir / "folder"), "not a folder");
}

}  // namespace
}  // namespace test
}  // namespace nagitori
