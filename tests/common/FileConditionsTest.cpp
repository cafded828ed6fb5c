// Every writer of a data file against the conditions of a file that must not be replaced or appended to.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/AutostartRunKey.h"
#include "support/OtherUser.h"
#endif

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/Error.h"
#include "common/FileLimits.h"
#include "launcher/LauncherSlots.h"
#include "runfile/InputHistory.h"
#include "settings/FileAccess.h"
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

        // A sparse file just above the bound, which takes no disk space wherever the tests run.
        WriteFileBytes(path, writer.before);
        std::filesystem::resize_file(path, kMaxDataFileBytes + 1);
        EXPECT_TRUE(Throws([&] { writer.write(path); }));
        EXPECT_EQ(std::filesystem::file_size(path), kMaxDataFileBytes + 1);
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

// A reset or a cleared history passes over a file the user protected, as over one that cannot be deleted.
TEST(FileConditions, DeletingPassesOverAProtectedFile) {
    const std::pair<const char*, std::function<void(const std::filesystem::path&)>> deleters[] = {
        {"settings reset", [](const std::filesystem::path& path) { DeleteUnlessProtected(path); }},
        {"history delete", [](const std::filesystem::path& path) { InputHistory(path).Delete(); }},
    };
    for (const auto& [name, remove] : deleters) {
        SCOPED_TRACE(name);
        const TempDir dir;
        const auto path = dir / "file";
        WriteFileBytes(path, "kept");
        MakeReadOnly(path);
        remove(path);
        EXPECT_EQ(ReadFileBytes(path), "kept");
        std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
        remove(path);
        EXPECT_FALSE(std::filesystem::exists(path));
#ifndef _WIN32
        // A file that this user may not write, in a folder that everyone may change.
        ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
        WriteFileBytes(path, "kept");
        const std::optional<bool> kept = test::RunAsNobody([&] {
            remove(path);
            return std::filesystem::exists(path);
        });
        if (kept) {
            EXPECT_TRUE(*kept);
        }
#endif
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

// Another user could point a link of theirs at any file root may change: root follows only its own links.
TEST(FileConditions, RootNeverWritesThroughAnotherUsersLink) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root";
    }
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t otherUser = nobody != nullptr ? nobody->pw_uid : 65534;
    struct Chain {
        const char* what;
        std::vector<uid_t> owners;  // of the links from the path to the file, in this order
        bool followed;
    };
    const Chain chains[] = {
        {"another user's link", {otherUser}, false},
        {"root's link to another user's link", {0, otherUser}, false},
        {"root's own links", {0, 0}, true},
    };
    for (const Writer& writer : Writers()) {
        if (!writer.followsLinksAndReads) {
            continue;
        }
        for (const Chain& chain : chains) {
            SCOPED_TRACE(testing::Message() << writer.name << ", " << chain.what);
            const TempDir dir;
            const auto target = dir / "root-owned";
            WriteFileBytes(target, writer.before);
            std::filesystem::path next = target;
            for (std::size_t i = chain.owners.size(); i-- > 0;) {
                const auto link = i == 0 ? dir / writer.fileName : dir / ("link" + std::to_string(i));
                std::filesystem::create_symlink(next, link);
                ASSERT_EQ(::lchown(link.c_str(), chain.owners[i], chain.owners[i] == 0 ? 0 : otherUser), 0);
                next = link;
            }
            const auto path = dir / writer.fileName;
            EXPECT_EQ(Throws([&] { writer.write(path); }), !chain.followed);
            EXPECT_EQ(ReadFileBytes(target) != writer.before, chain.followed);
            EXPECT_TRUE(std::filesystem::is_symlink(path));
        }
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
