#include "platform/win32/Win32System.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "common/Utf8Path.h"
#include "platform/LaunchRequest.h"
#include "support/TempDir.h"

namespace nagitori::win32 {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

// "ナギトリ 試験": a folder name outside the ANSI code page, with a blank.
const std::string kJapaneseFolder = "\xE3\x83\x8A\xE3\x82\xAE\xE3\x83\x88\xE3\x83\xAA \xE8\xA9\xA6\xE9\xA8\x93";

bool WaitForFile(const std::filesystem::path& path) {
    for (int i = 0; i < 200; ++i) {
        if (std::filesystem::exists(path)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

TEST(Win32System, ShellExecuteReturnsTheShellsResult) {
    TempDir dir;
    WriteFileBytes(dir / "data.nagitori-unknown", "x");
    Win32System system;
    const struct {
        std::string target;
        int expected;
    } cases[] = {
        {Utf8FromPath(dir / "missing.exe"), kShellFileNotFound},
        {Utf8FromPath(dir / "data.nagitori-unknown"), kShellNoAssociation},
    };
    for (const auto& c : cases) {
        LaunchRequest request;
        request.verb = "open";
        request.target = c.target;
        EXPECT_EQ(system.ShellExecute(request), c.expected) << c.target;
    }
}

TEST(Win32System, ShellExecuteHandsOverParametersAndFolderAsGiven) {
    TempDir dir;
    const std::filesystem::path folder = dir / kJapaneseFolder;
    std::filesystem::create_directory(folder);
    LaunchRequest request;
    request.verb = "open";
    request.target = "cmd.exe";
    // A folder "ナギトリ" made in the working folder: both texts must reach the program as UTF-16.
    request.parameters = "/c mkdir \xE3\x83\x8A\xE3\x82\xAE\xE3\x83\x88\xE3\x83\xAA";
    request.directory = Utf8FromPath(folder);
    request.showCommand = SW_HIDE;
    EXPECT_TRUE(LaunchSucceeded(Win32System().ShellExecute(request)));
    EXPECT_TRUE(WaitForFile(folder / PathFromUtf8("\xE3\x83\x8A\xE3\x82\xAE\xE3\x83\x88\xE3\x83\xAA")));
}

TEST(Win32System, ReportsTheTrueMajorVersion) {
    // The tests run in a Wine prefix set to Windows 10, and this test program has no manifest: the
    // manifest-dependent GetVersionEx would claim Windows 8.
    EXPECT_EQ(Win32System().OsMajorVersion(), 10);
}

// The known folder comes from the user's shell folders. For this process only, the user's registry is
// replaced by a scratch key whose AppData folder is a Japanese path; other processes see nothing of it.
class AppDataFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        HKEY scratch = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, scratch_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    &scratch, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegOverridePredefKey(HKEY_CURRENT_USER, scratch), ERROR_SUCCESS);
        ::RegCloseKey(scratch);
    }

    void TearDown() override {
        ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\NagitoriTest");  // only when no other test uses it
    }

    static void SetAppData(const std::filesystem::path& folder) {
        const std::wstring text = folder.wstring();
        ASSERT_EQ(::RegSetKeyValueW(
                      HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                      L"AppData", REG_EXPAND_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }

    const std::wstring scratch_ = L"Software\\NagitoriTest\\User-" + std::to_wstring(std::random_device()());
};

TEST_F(AppDataFolderTest, ComesBackAsUtf8) {
    TempDir dir;
    const std::filesystem::path folder = dir / kJapaneseFolder;
    std::filesystem::create_directory(folder);
    SetAppData(folder);
    EXPECT_EQ(Utf8FromPath(Win32System().AppDataFolder()), Utf8FromPath(dir.Path()) + "\\" + kJapaneseFolder);
}

// The check leaves nothing behind, and a folder that is not there cannot be written.
TEST(Win32System, MayWriteAFolderThatExistsAndLeavesItEmpty) {
    TempDir dir;
    const std::filesystem::path folder = dir / kJapaneseFolder;
    std::filesystem::create_directory(folder);
    Win32System system;
    EXPECT_TRUE(system.MayWriteFolder(folder));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    EXPECT_FALSE(system.MayWriteFolder(dir / "missing"));
}

// The probe program, copied into a folder with a Japanese name, reports its own path and its settings
// file's, and writes the settings file through its UTF-8 name.
TEST(Win32System, ExecutableAndSettingsPathsComeBackAsUtf8) {
    TempDir dir;
    const std::filesystem::path folder = dir / kJapaneseFolder;
    std::filesystem::create_directory(folder);
    const std::filesystem::path probe = folder / "nagitori.exe";
    std::filesystem::copy_file(Win32System().ExecutablePath().parent_path() / "nagitori_win32_probe.exe", probe);

    std::wstring commandLine = L"\"" + probe.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(probe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                 &startup, &process));
    ASSERT_EQ(::WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ASSERT_EQ(exitCode, 0u);

    const std::string folderText = Utf8FromPath(folder);
    const std::string settingsText = folderText + "\\nagitori.ini";
    EXPECT_EQ(ReadFileBytes(folder / "probe.txt"), folderText + "\\nagitori.exe\n" + settingsText + "\n");
    EXPECT_EQ(ReadFileBytes(folder / "nagitori.ini"), "[Probe]\r\nSettingDataFileName=" + settingsText + "\r\n");
}

}  // namespace
}  // namespace nagitori::win32
