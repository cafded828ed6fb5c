#include "platform/posix/AutostartRunKey.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "common/Error.h"
#include "support/TempDir.h"
#include "support/UnansweredFifo.h"

namespace nagitori::posix {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::UnansweredFifo;
using test::WriteFileBytes;

std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// The text of the error `action` raises, or "(none)".
template <typename Action>
std::string ErrorText(Action&& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "(none)";
}

class AutostartRunKeyTest : public ::testing::Test {
protected:
    std::filesystem::path Entry() const { return dir / "Nagitori.desktop"; }
    std::unique_ptr<RunKey> Open() const {
        auto key = OpenAutostartRunKey(dir.Path());
        EXPECT_NE(key, nullptr);
        return key;
    }

    TempDir dir;
};

TEST(SystemAutostartFolder, IsInTheFirstAbsoluteConfigFolder) {
    struct Case {
        std::string xdgConfigDirs;
        std::filesystem::path folder;
    };
    const Case cases[] = {
        {"", "/etc/xdg/autostart"},
        {"/opt/xdg", "/opt/xdg/autostart"},
        {"/opt/xdg/:/etc/xdg", "/opt/xdg/autostart"},
        {"relative:/opt/xdg", "/opt/xdg/autostart"},
        {"::/opt/xdg", "/opt/xdg/autostart"},
        {"relative", "/etc/xdg/autostart"},
        {":", "/etc/xdg/autostart"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SystemAutostartFolder(c.xdgConfigDirs), c.folder) << c.xdgConfigDirs;
    }
}

TEST_F(AutostartRunKeyTest, OpensOnlyAnExistingFolderAndNeverCreatesIt) {
    EXPECT_EQ(OpenAutostartRunKey(dir / "missing"), nullptr);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
    WriteFileBytes(dir / "file", "");
    EXPECT_EQ(OpenAutostartRunKey(dir / "file"), nullptr);
    EXPECT_EQ(OpenAutostartRunKey(dir / "file" / "autostart"), nullptr);
    EXPECT_NE(OpenAutostartRunKey(dir.Path()), nullptr);
}

TEST_F(AutostartRunKeyTest, MissingEntryReadsEmpty) {
    EXPECT_EQ(Open()->ReadString("Nagitori"), "");
}

TEST_F(AutostartRunKeyTest, ProgramPathsRoundTrip) {
    const std::string paths[] = {
        "/usr/bin/nagitori",
        "/opt/My Apps/nagitori",
        "/opt/\"quoted\"/nagitori",
        "/opt/$HOME/`id`/nagitori",
        "/opt/back\\slash/nagitori\\",
        "/opt/ナギトリ/ナギトリ",
        " /leading and trailing blank ",
        "/opt/'single'/#hash;|&<>*?()~",
        "",
    };
    const auto key = Open();
    for (const std::string& path : paths) {
        key->WriteString("Nagitori", path);
        EXPECT_EQ(key->ReadString("Nagitori"), path) << ReadFileBytes(Entry());
    }
}

TEST_F(AutostartRunKeyTest, WritesAValidEntryReadableByEveryone) {
    const auto key = Open();
    key->WriteString("Nagitori", "/usr/bin/nagitori");
    EXPECT_EQ(ReadFileBytes(Entry()), "[Desktop Entry]\nType=Application\nName=ナギトリ\nExec=/usr/bin/nagitori\n");
    struct stat status {};
    ASSERT_EQ(stat(Entry().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0644u);

    // Quoted for the Exec key, then escaped once more as a string value.
    key->WriteString("Nagitori", "/opt/My Apps/\"off\"\\$x");
    EXPECT_EQ(
        ReadFileBytes(Entry()),
        "[Desktop Entry]\nType=Application\nName=ナギトリ\nExec=\"/opt/My Apps/\\\\\"off\\\\\"\\\\\\\\\\\\$x\"\n");
    EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"Nagitori.desktop"});
}

TEST_F(AutostartRunKeyTest, HandMadeEntriesReadTheirProgram) {
    struct Case {
        std::string text;
        std::string program;
    };
    const Case cases[] = {
        {"# comment\n\n[Desktop Entry]\nName=X\nType=Application\nExec=/usr/bin/x --flag %U\n", "/usr/bin/x"},
        {"[Desktop Entry]\nType=Application\nExec=\"/opt/a b/x\" %f\n[Desktop Action New]\nExec=/y\n", "/opt/a b/x"},
        {"[Desktop Entry]\nType=Application\nExec=x%%y\n", "x%y"},
        {"[Desktop Entry]\nType=Application\nExec=\\s/opt/x\n", "/opt/x"},
    };
    const auto key = Open();
    for (const Case& c : cases) {
        WriteFileBytes(Entry(), c.text);
        EXPECT_EQ(key->ReadString("Nagitori"), c.program) << c.text;
    }
}

TEST_F(AutostartRunKeyTest, InvalidEntryReadsAsTheWrongType) {
    const std::string texts[] = {
        "",
        "Exec=/usr/bin/x\n",
        "not a key file\n",
        "[Other]\nX=1\n[Desktop Entry]\nType=Application\nExec=/usr/bin/x\n",
        "[Desktop Entry]\nType=Link\nURL=https://example.org/\nExec=/usr/bin/x\n",
        "[Desktop Entry]\nExec=/usr/bin/x\n",
        "[Desktop Entry]\nType=Application\nName=X\n",
        "[Desktop Entry]\nType=Application\nExec=\"/usr/bin/x\n",
        "[Desktop Entry]\nType=Application\nExec=\\q/usr/bin/x\n",
        "[Desktop Entry]\nType=Application\nExec=/usr/bin/\xff\n",
    };
    const auto key = Open();
    for (const std::string& text : texts) {
        WriteFileBytes(Entry(), text);
        EXPECT_EQ(ErrorText([&] { key->ReadString("Nagitori"); }), "'Nagitori' のデータ型が不正です") << text;
    }
}

TEST_F(AutostartRunKeyTest, EntryWithAnEmptyCommandIsNoRegistration) {
    const auto key = Open();
    for (const std::string exec : {"", "\"\""}) {
        WriteFileBytes(Entry(), "[Desktop Entry]\nType=Application\nName=ナギトリ\nExec=" + exec + "\n");
        EXPECT_EQ(key->ReadString("Nagitori"), "") << exec;
    }
}

// What stands at the entry's name is looked at before it is opened: nothing there waits, and nothing is read
// without end.
TEST_F(AutostartRunKeyTest, WhatIsNoRegularFileOrTooBigNeverHangsTheRead) {
    const UnansweredFifo fifo(dir / "fifo");
    std::filesystem::create_directory(dir / "folder");
    const std::string valid = "[Desktop Entry]\nType=Application\nExec=/usr/bin/nagitori\n";
    WriteFileBytes(dir / "valid", valid);
    WriteFileBytes(dir / "big", valid + "# " + std::string(64 * 1024, 'x') + "\n");
    struct Case {
        std::string what;
        std::filesystem::path target;  // the entry is a symbolic link to it
        std::string read;
    };
    const Case cases[] = {
        {"a FIFO", dir / "fifo", "'Nagitori' のデータ型が不正です"},
        {"a folder", dir / "folder", "'Nagitori' のデータ型が不正です"},
        {"an entry of more than 64 KiB", dir / "big", "'Nagitori' のデータ型が不正です"},
        {"a dangling link", dir / "missing", "(none)"},
        {"an entry through a link", dir / "valid", "(none)"},
    };
    const auto key = Open();
    for (const Case& c : cases) {
        std::filesystem::remove(Entry());
        std::filesystem::create_symlink(c.target, Entry());
        std::string program;
        EXPECT_EQ(ErrorText([&] { program = key->ReadString("Nagitori"); }), c.read) << c.what;
        EXPECT_EQ(program, c.target == dir / "valid" ? "/usr/bin/nagitori" : "") << c.what;
    }
    EXPECT_FALSE(fifo.ReaderWasStuck());
}

TEST_F(AutostartRunKeyTest, ProgramsTheSessionsCannotStartAreRefused) {
    const auto key = Open();
    key->WriteString("Nagitori", "/usr/bin/nagitori");
    const std::string before = ReadFileBytes(Entry());
    const std::string programs[] = {
        "/opt/100%/nagitori",  // a field code to the sessions, however it is quoted
        "/opt/%f",
        "/opt/tab\there",
        "/opt/new\nline",
        "/opt/return\r",
        "/opt/delete\x7f",
        "/opt/next line\u0085",
        "/opt/\xff",  // not UTF-8
    };
    for (const std::string& program : programs) {
        EXPECT_EQ(ErrorText([&] { key->WriteString("Nagitori", program); }), "'Nagitori' の設定に失敗しました")
            << program;
    }
    EXPECT_EQ(ReadFileBytes(Entry()), before);
    EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"Nagitori.desktop"});
}

// Killed at any moment, a write leaves the entry as it was or as written, never in part, and no file of its own
// but the one replacement name, which the next write or removal takes away.
TEST_F(AutostartRunKeyTest, KilledWritesLeaveTheEntryWholeAndNoTemporaryBehind) {
    const std::string programs[] = {"/usr/bin/nagitori", "/opt/ナギトリ " + std::string(2000, 'x') + "/nagitori"};
    std::mt19937 random(19);
    for (int trial = 0; trial < 20; ++trial) {
        // Half the trials start without an entry, so that the first write makes it.
        if (trial % 2 == 0) {
            std::filesystem::remove(Entry());
        }
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                const auto key = OpenAutostartRunKey(dir.Path());
                for (std::size_t i = 0;; ++i) {
                    key->WriteString("Nagitori", programs[i % 2]);
                }
            } catch (...) {
            }
            ::_exit(1);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 4000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";

        for (const std::string& name : FolderNames(dir.Path())) {
            EXPECT_TRUE(name == "Nagitori.desktop" || name == ".Nagitori.desktop.tmp") << name;
        }
        const std::string program = Open()->ReadString("Nagitori");
        EXPECT_TRUE(program.empty() || program == programs[0] || program == programs[1]) << program;
    }
    Open()->WriteString("Nagitori", programs[0]);
    EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"Nagitori.desktop"});
    WriteFileBytes(dir / ".Nagitori.desktop.tmp", "left by a crash");
    Open()->DeleteValue("Nagitori");
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST_F(AutostartRunKeyTest, DeleteRemovesTheEntryAndAcceptsAMissingOne) {
    const auto key = Open();
    key->WriteString("Nagitori", "/usr/bin/nagitori");
    WriteFileBytes(dir / "Other.desktop", "[Desktop Entry]\nType=Application\nExec=/usr/bin/other\n");
    key->DeleteValue("Nagitori");
    EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"Other.desktop"});
    EXPECT_EQ(key->ReadString("Nagitori"), "");
    EXPECT_NO_THROW(key->DeleteValue("Nagitori"));
}

TEST_F(AutostartRunKeyTest, DeleteThatCannotRemoveTheEntryFails) {
    std::filesystem::create_directory(Entry());
    EXPECT_EQ(ErrorText([&] { Open()->DeleteValue("Nagitori"); }), "'Nagitori' の設定に失敗しました");
    EXPECT_TRUE(std::filesystem::is_directory(Entry()));
}

TEST_F(AutostartRunKeyTest, FailedWriteLeavesNothingBehind) {
    std::filesystem::create_directory(Entry());
    const auto key = Open();
    EXPECT_EQ(ErrorText([&] { key->WriteString("Nagitori", "/usr/bin/nagitori"); }), "'Nagitori' の設定に失敗しました");
    // Text that is not UTF-8 cannot be stored in a desktop entry.
    EXPECT_EQ(ErrorText([&] { key->WriteString("Other", "/usr/bin/\xff"); }), "'Other' の設定に失敗しました");
    // A name that would leave the folder.
    EXPECT_EQ(ErrorText([&] { key->WriteString("../Nagitori", "/usr/bin/nagitori"); }),
              "'../Nagitori' の設定に失敗しました");
    EXPECT_EQ(key->ReadString("../Nagitori"), "");
    EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"Nagitori.desktop"});
    EXPECT_TRUE(std::filesystem::is_empty(Entry()));
}

TEST_F(AutostartRunKeyTest, WrittenEntryPassesDesktopFileValidate) {
    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "desktop-file-validate is not installed";
    }
    Open()->WriteString("Nagitori", "/opt/My Apps/\"off\"\\$x/ナギトリ");
    const std::string command = "desktop-file-validate '" + Entry().string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(Entry());
}

}  // namespace
}  // namespace nagitori::posix
