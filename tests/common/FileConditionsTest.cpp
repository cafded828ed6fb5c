// Every writer of a data file against the conditions of a file that must not be replaced or appended to.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>

#include "platform/posix/AutostartRunKey.h"
#include "support/OtherUser.h"
#endif

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/Error.h"
#include "common/FileLimits.h"
#include "launcher/LauncherSlots.h"
#include "runfile/InputHistory.h"
#include "settings/ProfileFile.h"
#include "support/TempDir.h"

namespace nagitori {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

struct Writer {
    const char* name;
    const char* fileName;
    std::string before;  // what the file holds when it is there
    std::function<void(const std::filesystem::path&)> write;
    bool followsLinksAndReads;  // writers that read the file: link, UTF-16 and size conditions apply
};

std::vector<Writer> Writers() {
    std::vector<Writer> writers = {
        {"settings key", "nagitori.ini", "[ToolRunOption]\nGiveAdministrator=0\n",
         [](const std::filesystem::path& path) {
             ProfileFile(path).WriteBool("ToolRunOption", "GiveAdministrator", true);
         },
         true},
        {"launcher save", "LauncherData.ini", "[Application_1]\nName=old\n",
         [](const std::filesystem::path& path) {
             ProfileFile file(path);
             SaveLauncherEntries(file, {LauncherEntry{"new", "/usr/bin/true", "", "", 1, false}});
         },
         true},
        {"history append", kExecuteFileHistoryName, "/usr/bin/old",
         [](const std::filesystem::path& path) { InputHistory(path).Add("/usr/bin/new"); }, true},
    };
#ifndef _WIN32
    writers.push_back({"autostart entry", "Nagitori.desktop",
                       "[Desktop Entry]\nType=Application\nName=x\nExec=/usr/bin/old\n",
                       [](const std::filesystem::path& path) {
                           const auto key = posix::OpenAutostartRunKey(path.parent_path());
                           if (key == nullptr) {
                               throw Error("autostart folder did not open");
                           }
                           key->WriteString("Nagitori", "/usr/bin/nagitori");
                       },
                       false});
#endif
    return writers;
}

bool Throws(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error&) {
        return true;
    }
    return false;
}

void MakeReadOnly(const std::filesystem::path& path) {
    using std::filesystem::perms;
    std::filesystem::permissions(path, perms::owner_read | perms::group_read | perms::others_read);
}

TEST(FileConditions, AReadOnlyFileIsNeverChanged) {
    for (const Writer& writer : Writers()) {
        SCOPED_TRACE(writer.name);
        const TempDir dir;
        const auto path = dir / writer.fileName;
        WriteFileBytes(path, writer.before);
        MakeReadOnly(path);
        EXPECT_TRUE(Throws([&] { writer.write(path); }));
        EXPECT_EQ(ReadFileBytes(path), writer.before);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    }
}

TEST(FileConditions, AUtf16OrOversizedFileIsNeverChanged) {
    const std::string utf16("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0v\0", 18);
    for (const Writer& writer : Writers()) {
        if (!writer.followsLinksAndReads) {
            continue;
        }
        SCOPED_TRACE(writer.name);
        const TempDir dir;
        const auto path = dir / writer.fileName;
        WriteFileBytes(path, utf16);
        EXPECT_TRUE(Throws([&] { writer.write(path); }));
        EXPECT_EQ(ReadFileBytes(path), utf16);

        // Sparse files: one just above the bound, and one of 64 GB that no read could hold in memory.
        for (const std::uintmax_t size : {kMaxDataFileBytes + 1, std::uintmax_t{64} << 30}) {
            WriteFileBytes(path, writer.before);
            std::filesystem::resize_file(path, size);
            EXPECT_TRUE(Throws([&] { writer.write(path); })) << size;
            EXPECT_EQ(std::filesystem::file_size(path), size);
        }
    }
}

TEST(FileConditions, AFolderAtThePathStaysAnEmptyFolder) {
    for (const Writer& writer : Writers()) {
        SCOPED_TRACE(writer.name);
        const TempDir dir;
        const auto path = dir / writer.fileName;
        std::filesystem::create_directory(path);
        EXPECT_TRUE(Throws([&] { writer.write(path); }));
        EXPECT_TRUE(std::filesystem::is_empty(path));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    }
}

#ifndef _WIN32
TEST(FileConditions, ALinkToNothingCreatesItsTarget) {
    for (const Writer& writer : Writers()) {
        if (!writer.followsLinksAndReads) {
            continue;
        }
        SCOPED_TRACE(writer.name);
        const TempDir dir;
        std::filesystem::create_directory(dir / "real");
        const auto link = dir / writer.fileName;
        std::filesystem::create_symlink("real/target", link);
        writer.write(link);
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_TRUE(std::filesystem::is_regular_file(dir / "real" / "target"));
        EXPECT_EQ(ReadFileBytes(link), ReadFileBytes(dir / "real" / "target"));
    }
}

// Another user may replace a file in a folder that everyone may write; this one must not touch root's files.
TEST(FileConditions, AFileThisUserMayNotWriteIsNeverChanged) {
    for (const Writer& writer : Writers()) {
        for (const mode_t mode : {0644, 0444}) {
            SCOPED_TRACE(testing::Message() << writer.name << " mode " << std::oct << mode);
            const TempDir dir;
            ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
            const auto path = dir / writer.fileName;
            WriteFileBytes(path, writer.before);
            ASSERT_EQ(::chmod(path.c_str(), mode), 0);
            const std::optional<bool> refused = test::RunAsNobody([&] { return Throws([&] { writer.write(path); }); });
            if (!refused) {
                GTEST_SKIP() << "needs root to switch to another user";
            }
            EXPECT_TRUE(*refused);
            EXPECT_EQ(ReadFileBytes(path), writer.before);
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
        }
    }
}
#endif

}  // namespace
}  // namespace nagitori
