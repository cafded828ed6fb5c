#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "runfile/ExistingFile.h"
#include "support/TempDir.h"

namespace nagitori {
namespace {

TEST(IsExistingFile, OnlyARegularFileOrALinkToOneCounts) {
    const test::TempDir dir;
    test::WriteFileBytes(dir / "file", "x");
    std::filesystem::create_directory(dir / "folder");
    std::filesystem::create_symlink(dir / "file", dir / "link-to-file");
    std::filesystem::create_symlink(dir / "folder", dir / "link-to-folder");
    std::filesystem::create_symlink(dir / "gone", dir / "dangling");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    struct Case {
        std::string path;
        bool exists;
    };
    const Case cases[] = {
        {(dir / "file").string(), true},
        {(dir / "link-to-file").string(), true},
        {(dir / "folder").string(), false},
        {(dir / "link-to-folder").string(), false},
        {(dir / "dangling").string(), false},
        {(dir / "fifo").string(), false},
        {(dir / "file").string() + "/", false},
        {(dir / "file").string() + std::string(1, '\0') + "tail", false},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(IsExistingFile(c.path), c.exists);
    }
}

}  // namespace
}  // namespace nagitori
