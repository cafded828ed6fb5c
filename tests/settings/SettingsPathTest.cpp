#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>

#include "platform/posix/PosixSystem.h"
#include "support/OtherUser.h"
#endif

#include <filesystem>
#include <string>

#include "common/Utf8Path.h"
#include "settings/SettingsPath.h"
#include "support/FakeSystem.h"
#include "support/TempDir.h"

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
        EXPECT_EQ(Generic(SettingsFileBeside(PathFromUtf8(c.executable))), c.settings) << c.executable;
    }
}

// Beside the program when a file is there or the user may write its folder; an administrator's right to
// write everywhere does not count.
TEST(SettingsPath, LiesBesideTheProgramOrInTheDataFolder) {
    struct Case {
        bool fileBeside;
        bool folderWritable;
        bool admin;
        bool besideExpected;
    };
    const Case cases[] = {
        {false, true, false, true},    // a copy in the user's own folder
        {true, true, false, true},     //
        {false, false, false, false},  // installed for every user
        {true, false, false, true},    // a file the administrator put there for everyone
        {false, true, true, false},    // root may write everywhere
        {false, false, true, false},   //
        {true, true, true, true},      // root's own portable copy
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "file " << c.fileBeside << ", writable " << c.folderWritable << ", admin "
                                        << c.admin);
        const test::TempDir dir;
        std::filesystem::create_directory(dir / "bin");
        test::FakeSystem system;
        system.executable = dir / "bin" / "nagitori";
        system.appData = dir / "config";
        system.foldersWritable = c.folderWritable;
        system.admin = c.admin;
        if (c.fileBeside) {
            test::WriteFileBytes(dir / "bin" / "nagitori.ini", "");
        }
        EXPECT_EQ(SettingsFilePath(system),
                  c.besideExpected ? dir / "bin" / "nagitori.ini"
                                   : dir / "config" / std::filesystem::path(u8"ナギトリ") / "nagitori.ini");
    }

    const test::TempDir dir;
    test::FakeSystem homeless;
    homeless.executable = dir / "nagitori";
    homeless.foldersWritable = false;
    EXPECT_EQ(Generic(SettingsFilePath(homeless)), "/\xE3\x83\x8A\xE3\x82\xAE\xE3\x83\x88\xE3\x83\xAA/nagitori.ini");
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

#ifndef _WIN32
// A program folder on disk as the real backend sees it: made with `mode`, with `beside` ("file", "link" to
// nothing, or "") under the settings file's name.
struct ProgramFolder {
    const char* beside;
    mode_t mode;
};

class RealFolder {
public:
    explicit RealFolder(const ProgramFolder& folder) {
        // Another user must reach the program's folder, as an installed program's.
        ::chmod(dir_.Path().c_str(), 0755);
        std::filesystem::create_directory(Bin());
        if (std::string(folder.beside) == "file") {
            test::WriteFileBytes(Bin() / "nagitori.ini", "[Start]\n");
        } else if (std::string(folder.beside) == "link") {
            std::filesystem::create_symlink("../nowhere/nagitori.ini", Bin() / "nagitori.ini");
        }
        ::chmod(Bin().c_str(), folder.mode);
    }
    ~RealFolder() { ::chmod(Bin().c_str(), 0755); }
    RealFolder(const RealFolder&) = delete;
    RealFolder& operator=(const RealFolder&) = delete;

    std::filesystem::path Bin() const { return dir_ / "bin"; }
    std::filesystem::path DataFile() const {
        return dir_ / "config" / std::filesystem::path(u8"ナギトリ") / "nagitori.ini";
    }

    // What the running program would choose: the real backend, in the effective ids of the caller.
    std::filesystem::path Chosen() const {
        posix::PosixEnvironment environment;
        environment.executable = Bin() / "nagitori";
        environment.xdgConfigHome = (dir_ / "config").string();
        posix::PosixSystem system(environment, {});
        return SettingsFilePath(system);
    }

private:
    test::TempDir dir_;
};

// Root may write the folder of any program, yet only a file already there keeps the settings beside it.
TEST(SettingsPath, OnDiskAsThisUser) {
    struct Case {
        ProgramFolder folder;
        bool besideForRoot;
        bool besideForOthers;
    };
    const Case cases[] = {
        {{"", 0755}, false, true},     // the user's folder, or root's
        {{"", 0555}, false, false},    // write-protected
        {{"file", 0555}, true, true},  // with a settings file
        {{"file", 0755}, true, true},  //
        {{"link", 0555}, true, true},  // a link the user made, to a file not there yet
    };
    const bool root = ::geteuid() == 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.folder.beside << "' in a folder of mode " << std::oct
                                        << c.folder.mode);
        const RealFolder folder(c.folder);
        const bool beside = root ? c.besideForRoot : c.besideForOthers;
        EXPECT_EQ(folder.Chosen(), beside ? folder.Bin() / "nagitori.ini" : folder.DataFile());
    }
}

// An installed program's folder belongs to root: another user's settings go to their data folder, unless the
// administrator put a settings file beside the program.
TEST(SettingsPath, OnDiskAsAnotherUser) {
    struct Case {
        ProgramFolder folder;
        bool beside;
    };
    const Case cases[] = {
        {{"", 0755}, false},
        {{"", 0777}, true},
        {{"file", 0755}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.folder.beside << "' in a folder of mode " << std::oct
                                        << c.folder.mode);
        const RealFolder folder(c.folder);
        const std::filesystem::path expected = c.beside ? folder.Bin() / "nagitori.ini" : folder.DataFile();
        const std::optional<bool> chosen = test::RunAsNobody([&] { return folder.Chosen() == expected; });
        if (!chosen) {
            GTEST_SKIP() << "needs root to switch to another user";
        }
        EXPECT_TRUE(*chosen);
    }
}
#endif

}  // namespace
}  // namespace nagitori
