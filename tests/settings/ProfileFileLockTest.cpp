#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "common/Error.h"
#include "common/FileErrorText.h"
#include "settings/FileAccess.h"
#include "settings/IniDocument.h"
#include "settings/ProfileFile.h"
#include "support/HeldLock.h"
#include "support/TempDir.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace nagitori {
namespace {

using namespace std::chrono_literals;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

#ifdef _WIN32
// Under Wine every write goes through to the disk; fewer writes still show a lost one.
constexpr int kWritesPerCopy = 200;

std::filesystem::path TestFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(std::wstring(path, length)).parent_path();
}

// Starts the writer program; returns its process handle.
HANDLE StartWriter(const std::vector<std::string>& arguments) {
    const std::filesystem::path program = TestFolder() / "nagitori_profile_writer.exe";
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    for (const std::string& argument : arguments) {
        commandLine += L" \"" + std::filesystem::path(argument).wstring() + L"\"";
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        return nullptr;
    }
    ::CloseHandle(process.hThread);
    return process.hProcess;
}

int WaitForWriter(HANDLE process) {
    DWORD code = 1;
    ::WaitForSingleObject(process, INFINITE);
    ::GetExitCodeProcess(process, &code);
    ::CloseHandle(process);
    return static_cast<int>(code);
}

std::filesystem::path FastFolder() {
    return std::filesystem::temp_directory_path();
}
#else
constexpr int kWritesPerCopy = 1000;

pid_t StartWriter(const std::vector<std::string>& arguments) {
    const std::string program =
        (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "nagitori_profile_writer").string();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    return ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

int WaitForWriter(pid_t pid) {
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every write is flushed to the disk; in memory the test takes a moment instead of half a minute.
std::filesystem::path FastFolder() {
    return std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                     : std::filesystem::temp_directory_path();
}
#endif

TEST(ProfileFileLock, TwoRunningCopiesWritingDifferentKeysLoseNone) {
    const TempDir dir(FastFolder());
    const std::filesystem::path path = dir / "nagitori.ini";
    WriteFileBytes(path, "[Other]\nkept=1\n");
    const std::string count = std::to_string(kWritesPerCopy);
    auto first = StartWriter({path.string(), "A", count});
    auto second = StartWriter({path.string(), "B", count});
    EXPECT_EQ(WaitForWriter(first), 0);
    EXPECT_EQ(WaitForWriter(second), 0);

    const IniDocument document(ReadFileBytes(path));
    int lost = 0;
    for (const char* prefix : {"A", "B"}) {
        for (int i = 0; i < kWritesPerCopy; ++i) {
            lost += document.Value("Keys", prefix + std::to_string(i)) != std::to_string(i);
        }
    }
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(document.Value("Other", "kept"), "1");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// A lock held by a test descriptor, as another running copy holds it, exists as flock only on POSIX.
#ifndef _WIN32
using test::HeldLock;

FileChange SetKey(const std::string& value) {
    return [value](const std::string&) { return std::optional<std::string>("[S]\nk=" + value + "\n"); };
}

TEST(ProfileFileLock, AWriteWaitsForTheLockButNeverHangs) {
    const TempDir dir;
    const std::filesystem::path path = dir / "nagitori.ini";
    WriteFileBytes(path, "[S]\nk=0\n");

    HeldLock briefly(path);
    auto waiting = std::async(std::launch::async, [&] { RewriteFile(path, SetKey("1"), 20s); });
    EXPECT_EQ(waiting.wait_for(150ms), std::future_status::timeout);
    EXPECT_EQ(ReadFileBytes(path), "[S]\nk=0\n");
    EXPECT_TRUE(ProfileFile(path).ReadBool("S", "k", true) == false);  // reads take no lock
    briefly.Release();
    waiting.get();
    EXPECT_EQ(ReadFileBytes(path), "[S]\nk=1\n");

    HeldLock forever(path);
    const auto start = std::chrono::steady_clock::now();
    try {
        RewriteFile(path, SetKey("2"), 100ms);
        ADD_FAILURE() << "wrote under a foreign lock";
    } catch (const WriteError& error) {
        EXPECT_EQ(std::string(error.what()), file_errors::CannotWrite(path, file_errors::kInUse));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(ReadFileBytes(path), "[S]\nk=1\n");
}
#endif

}  // namespace
}  // namespace nagitori
