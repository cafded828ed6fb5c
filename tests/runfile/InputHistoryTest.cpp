#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <future>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "common/Error.h"
#include "common/FileErrorText.h"
#include "common/Utf8Path.h"
#include "runfile/InputHistory.h"
#include "support/HeldLock.h"
#include "support/TempDir.h"

namespace nagitori {
namespace {

using namespace std::chrono_literals;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;
using Entries = std::vector<std::string>;

constexpr char kBom[] = "\xEF\xBB\xBF";

std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        names.push_back(Utf8FromPath(item.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

#ifdef _WIN32
// An exclusive lock on the whole file through a handle of its own, as another running copy holds it.
class HeldLock {
public:
    explicit HeldLock(const std::filesystem::path& path)
        : handle_(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr)) {
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
        OVERLAPPED whole{};
        EXPECT_TRUE(::LockFileEx(handle_, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole));
    }
    ~HeldLock() { Release(); }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;

    void Release() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE handle_;
};
#else
using test::HeldLock;
#endif

TEST(InputHistory, LoadSplitsLinesOfEveryStyle) {
    struct Case {
        std::string content;
        Entries entries;
    };
    const Case cases[] = {
        {"", {}},
        {kBom, {}},
        {"a", {"a"}},
        {std::string(kBom) + "a\r\nb", {"a", "b"}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"a\n", {"a"}},
        {"a\r", {"a"}},
        {"\r\n", {""}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\r\r\n", {"a", ""}},
        {"\n\na", {"", "", "a"}},
        {"a\n\rb", {"a", "", "b"}},
        {" a \r\n\t", {" a ", "\t"}},
        {std::string("a\r\n") + kBom + "b", {"a", std::string(kBom) + "b"}},
        {std::string(kBom) + "C:\\ツール\\メモ帳.exe\r\n/home/ユーザー", {"C:\\ツール\\メモ帳.exe", "/home/ユーザー"}},
    };
    for (const Case& c : cases) {
        const TempDir dir;
        WriteFileBytes(dir / kExecuteFileHistoryName, c.content);
        EXPECT_EQ(InputHistory(dir / kExecuteFileHistoryName).Load(), c.entries) << testing::PrintToString(c.content);
    }
}

// Symbolic links and named pipes as POSIX has them.
#ifndef _WIN32
TEST(InputHistory, LoadFindsNoEntriesWhereNoFileIs) {
    const TempDir dir;
    std::filesystem::create_directory(dir / "folder");
    std::filesystem::create_symlink(dir / "nothing", dir / "dangling");
    WriteFileBytes(dir / "plain", "x");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    for (const auto& path :
         {dir / "absent", dir / "folder", dir / "dangling", dir / "pipe", dir / "plain" / "history.txt"}) {
        EXPECT_EQ(InputHistory(path).Load(), Entries{}) << path;
    }
}

#endif

TEST(InputHistory, LoadRefusesTextThatIsNotUtf8) {
    for (const std::string content : {"a\r\n\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\xE3\x81"}) {
        const TempDir dir;
        const auto path = dir / kExecuteFileHistoryName;
        WriteFileBytes(path, content);
        try {
            InputHistory(path).Load();
            ADD_FAILURE() << "loaded " << testing::PrintToString(content);
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), file_errors::CannotRead(path, file_errors::kNotUtf8));
        }
    }
}

TEST(InputHistory, AddAppendsOnlyNewEntries) {
    struct Case {
        std::optional<std::string> before;  // no file when empty
        Entries added;
        std::optional<std::string> after;
    };
    const Case cases[] = {
        {std::nullopt, {"C:\\ツール\\メモ帳.exe"}, "C:\\ツール\\メモ帳.exe"},
        {std::nullopt, {"a", "b", "a", "A", "b"}, "a\r\nb\r\nA"},
        {"abc", {"ab", "abc"}, "abc\r\nab"},
        {" a", {"a", " a", "a "}, " a\r\na\r\na "},
        {std::string(kBom) + "a", {"a", "b"}, std::string(kBom) + "a\r\nb"},
        {"a\nb\rc", {"b", "c", "d"}, "a\nb\rc\r\nd"},
        {"a\r\n", {"a", "b"}, "a\r\n\r\nb"},
        {"", {"a"}, "\r\na"},
        {"a\r\n\r\nb", {"b", "c"}, "a\r\n\r\nb\r\nc"},
        {std::nullopt, {""}, std::nullopt},
        {"a", {""}, "a"},
    };
    for (const Case& c : cases) {
        const TempDir dir;
        const auto path = dir / kExecuteFileHistoryName;
        if (c.before) {
            WriteFileBytes(path, *c.before);
        }
        const InputHistory history(path);
        for (const std::string& entry : c.added) {
            history.Add(entry);
        }
        const auto label = testing::PrintToString(c.before) + " + " + testing::PrintToString(c.added);
        if (c.after) {
            EXPECT_EQ(ReadFileBytes(path), *c.after) << label;
            EXPECT_EQ(NamesIn(dir.Path()), Entries{kExecuteFileHistoryName}) << label;
        } else {
            EXPECT_EQ(NamesIn(dir.Path()), Entries{}) << label;
        }
    }
}

TEST(InputHistory, AddRefusesEntriesThatWouldNotReadBackAsOneLine) {
    const TempDir dir;
    const auto path = dir / kExecuteFileHistoryName;
    WriteFileBytes(path, "old");
    const InputHistory history(path);
    for (const std::string entry : {"a\r\nb", "a\nb", "a\r", "\xFF"}) {
        EXPECT_THROW(history.Add(entry), WriteError) << testing::PrintToString(entry);
    }
    EXPECT_EQ(ReadFileBytes(path), "old");
}

TEST(InputHistory, AReadOnlyHistoryIsScannedBeforeItIsOpenedForWriting) {
    const TempDir dir;
    const auto path = dir / kExecuteFileHistoryName;
    WriteFileBytes(path, "a\r\nb");
    using std::filesystem::perms;
    std::filesystem::permissions(path, perms::owner_read | perms::group_read | perms::others_read);
    const InputHistory history(path);
    history.Add("b");
    try {
        history.Add("c");
        ADD_FAILURE() << "appended to a read-only file";
    } catch (const WriteError& error) {
#ifndef _WIN32
        // Root may write any file; the missing write permission binds it all the same.
        EXPECT_EQ(std::string(error.what()), file_errors::CannotWrite(path, file_errors::kReadOnly));
#endif
    }
    EXPECT_EQ(ReadFileBytes(path), "a\r\nb");
}

// POSIX error texts, named pipes, and a child process with a file-size limit.
#ifndef _WIN32
TEST(InputHistory, AddReportsFileErrorsWithReasonAndPath) {
    const TempDir dir;
    WriteFileBytes(dir / "ナギトリ", "a file where the data folder belongs");
    std::filesystem::create_directory(dir / "folder");
    WriteFileBytes(dir / "broken.txt", "a\r\n\xFF");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    struct Case {
        std::filesystem::path path;
        std::string reason;
    };
    const Case cases[] = {
        {dir / "ナギトリ" / kExecuteFileHistoryName, std::generic_category().message(ENOTDIR)},
        {dir / "missing" / kExecuteFileHistoryName, std::generic_category().message(ENOENT)},
        {dir / "folder", file_errors::kNotRegularFile},
        {dir / "broken.txt", file_errors::kNotUtf8},
        {dir / "pipe", file_errors::kNotRegularFile},
    };
    for (const Case& c : cases) {
        const std::string expected = file_errors::CannotWrite(c.path, c.reason);
        try {
            InputHistory(c.path).Add("entry");
            ADD_FAILURE() << "added to " << c.path;
        } catch (const WriteError& error) {
            EXPECT_EQ(std::string(error.what()), expected);
        }
    }
    EXPECT_EQ(ReadFileBytes(dir / "broken.txt"), "a\r\n\xFF");
    EXPECT_EQ(NamesIn(dir.Path()), (Entries{"broken.txt", "folder", "pipe", "ナギトリ"}));
}

// Runs Add in a child process whose files may not grow beyond `sizeLimit` bytes, so that the write stops
// part way as on a full disk. Returns the error's text, or "" when Add did not fail.
std::string AddWithFileSizeLimit(const std::filesystem::path& path, const std::string& entry, rlim_t sizeLimit) {
    int report[2];
    if (::pipe(report) != 0) {
        return "pipe failed";
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(report[0]);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{sizeLimit, sizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            InputHistory(path).Add(entry);
        } catch (const WriteError& error) {
            const std::string text = error.what();
            (void)!::write(report[1], text.data(), text.size());
        }
        ::_exit(0);
    }
    ::close(report[1]);
    std::string text;
    char buffer[256];
    ssize_t count = 0;
    while ((count = ::read(report[0], buffer, sizeof buffer)) > 0 || (count < 0 && errno == EINTR)) {
        text.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
    }
    ::close(report[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return text;
}

TEST(InputHistory, AddLeavesNoPartialEntryWhenTheWriteFails) {
    const TempDir dir;
    const auto path = dir / kExecuteFileHistoryName;
    const std::string tooLarge = file_errors::CannotWrite(path, std::generic_category().message(EFBIG));

    EXPECT_EQ(AddWithFileSizeLimit(path, "entry", 2), tooLarge);
    EXPECT_EQ(NamesIn(dir.Path()), Entries{});

    // The line break fits, the entry does not.
    WriteFileBytes(path, "old");
    EXPECT_EQ(AddWithFileSizeLimit(path, "entry", 5), tooLarge);
    EXPECT_EQ(ReadFileBytes(path), "old");
}

#endif

TEST(InputHistory, WaitsWhileAnotherCopyHoldsTheLock) {
    const TempDir dir;
    const auto path = dir / kExecuteFileHistoryName;
    WriteFileBytes(path, "a");
    const InputHistory history(path, 20s);

    HeldLock reading(path);
    auto loading = std::async(std::launch::async, [&] { return history.Load(); });
    EXPECT_EQ(loading.wait_for(150ms), std::future_status::timeout);
    reading.Release();
    EXPECT_EQ(loading.get(), Entries{"a"});

    HeldLock writing(path);
    auto adding = std::async(std::launch::async, [&] { history.Add("b"); });
    EXPECT_EQ(adding.wait_for(150ms), std::future_status::timeout);
    EXPECT_EQ(ReadFileBytes(path), "a");
    writing.Release();
    adding.get();
    EXPECT_EQ(ReadFileBytes(path), "a\r\nb");
}

TEST(InputHistory, FailsInsteadOfHangingWhenTheLockIsNeverReleased) {
    const TempDir dir;
    const auto path = dir / kExecuteFileHistoryName;
    WriteFileBytes(path, "a");
    const InputHistory history(path, 100ms);
    HeldLock lock(path);
    try {
        history.Load();
        ADD_FAILURE() << "loaded under a foreign lock";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), file_errors::CannotRead(path, file_errors::kInUse));
    }
    try {
        history.Add("b");
        ADD_FAILURE() << "added under a foreign lock";
    } catch (const WriteError& error) {
        EXPECT_EQ(std::string(error.what()), file_errors::CannotWrite(path, file_errors::kInUse));
    }
    EXPECT_EQ(ReadFileBytes(path), "a");
}

// Copies made by fork.
#ifndef _WIN32
TEST(InputHistory, CopiesAddingAtOnceKeepEveryEntryOnceAndWhole) {
    constexpr int kCopies = 4;
    constexpr int kRounds = 100;
    const TempDir dir;
    const auto path = dir / kCurrentDirectoryHistoryName;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> children;
    for (int copy = 0; copy < kCopies; ++copy) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            // Every copy starts when the parent closes the pipe, so the first additions race for creation.
            ::close(start[1]);
            char byte;
            while (::read(start[0], &byte, 1) < 0 && errno == EINTR) {
            }
            int status = 0;
            try {
                const InputHistory history(path);
                for (int round = 0; round < kRounds; ++round) {
                    history.Add("共有 " + std::to_string(round));
                    history.Add("copy " + std::to_string(copy) + " round " + std::to_string(round));
                }
            } catch (...) {
                status = 1;
            }
            ::_exit(status);
        }
        if (pid < 0) {
            break;
        }
        children.push_back(pid);
    }
    ::close(start[0]);
    ::close(start[1]);
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ASSERT_EQ(children.size(), static_cast<std::size_t>(kCopies));

    Entries expected;
    for (int round = 0; round < kRounds; ++round) {
        expected.push_back("共有 " + std::to_string(round));
        for (int copy = 0; copy < kCopies; ++copy) {
            expected.push_back("copy " + std::to_string(copy) + " round " + std::to_string(round));
        }
    }
    Entries loaded = InputHistory(path).Load();
    std::sort(loaded.begin(), loaded.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(loaded, expected);
    // Separated by CR LF only, with no break after the last entry.
    const std::string bytes = ReadFileBytes(path);
    const auto breaks = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    EXPECT_EQ(breaks, expected.size() - 1);
    EXPECT_EQ(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\r')), breaks);
    EXPECT_EQ(NamesIn(dir.Path()), Entries{kCurrentDirectoryHistoryName});
}

#endif

TEST(InputHistory, DeleteRemovesTheFileAndNeverFails) {
    const TempDir dir;
    const auto path = dir / kExecuteFileHistoryName;
    WriteFileBytes(path, "a\r\nb");
    const InputHistory history(path);
    history.Delete();
    EXPECT_EQ(history.Load(), Entries{});
    history.Delete();
    history.Add("c");
    EXPECT_EQ(ReadFileBytes(path), "c");

    std::filesystem::create_directory(dir / "folder");
    InputHistory(dir / "folder").Delete();
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
}

}  // namespace
}  // namespace nagitori
