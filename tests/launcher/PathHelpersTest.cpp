#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/Error.h"
#include "launcher/PathHelpers.h"

namespace nagitori {
namespace {

using Cases = std::vector<std::pair<std::string, std::string>>;

TEST(PathHelpers, FileNameWithoutExtension) {
    const Cases cases = {
        {"C:\\Windows\\notepad.exe", "notepad"},
        {"/opt/app/run.sh", "run"},
        {"/usr/bin/gnome-calculator", "gnome-calculator"},
        {"C:/Program Files/App/app.v2.exe", "app.v2"},
        {"archive.tar.gz", "archive.tar"},
        {"mixed/dir\\tool.bat", "tool"},
        {"D:setup.exe", "setup"},
        {"C:\\ツール\\メモ帳.exe", "メモ帳"},
        {"/home/u/dir.d/noext", "noext"},
        {"name.", "name"},
        {"/home/u/.profile", ".profile"},
        {"/home/u/.config.txt", ".config"},
        {"/home/u/a:b.sh", "a:b"},
        {"C:\\Windows\\", ""},
        {"/usr/bin/", ""},
        {"", ""},
    };
    for (const auto& [path, name] : cases) {
        EXPECT_EQ(FileNameWithoutExtension(path), name) << path;
    }
}

TEST(PathHelpers, FileNameWithoutExtensionRefusesCharactersNoPathHolds) {
    using namespace std::string_literals;
    for (const std::string& path : {"C:\\a\"b.exe"s, "a<b.exe"s, "a>b.exe"s, "C:\\a|b\\c.exe"s, "a\tb.exe"s, "a\nb"s,
                                    "a\0b.exe"s, "/x/\x1F.sh"s}) {
        try {
            FileNameWithoutExtension(path);
            ADD_FAILURE() << "accepted " << path;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), kInvalidPathCharacters);
        }
    }
}

TEST(PathHelpers, FolderOfPath) {
    const Cases cases = {
        {"C:\\Windows\\notepad.exe", "C:\\Windows"},
        {"C:\\setup.exe", "C:\\"},
        {"C:setup.exe", "C:"},
        {"C:", "C:"},
        {"C:\\", "C:\\"},
        {"C:\\\\setup.exe", "C:\\"},
        {"C:\\Windows\\", "C:\\Windows"},
        {"C:/Windows/notepad.exe", "C:/Windows"},
        {"\\\\server\\share\\x.exe", "\\\\server\\share"},
        {"\\x.exe", "\\"},
        {"/usr/bin/ls", "/usr/bin"},
        {"/usr/bin/", "/usr/bin"},
        {"/usr//bin//ls", "/usr//bin"},
        {"/ls", "/"},
        {"/", "/"},
        {"//ls", "/"},
        {"dir/file", "dir"},
        {"C:\\ツール\\メモ帳.exe", "C:\\ツール"},
        {"/home/u/a:b.sh", "/home/u"},
        {"ab:c.sh", ""},
        {"1:x", ""},
        {"setup.exe", ""},
        {"", ""},
    };
    for (const auto& [path, folder] : cases) {
        EXPECT_EQ(FolderOfPath(path), folder) << path;
    }
}

TEST(PathHelpers, FolderPartOfPath) {
    const Cases cases = {
        {"C:\\Windows\\notepad.exe", "C:\\Windows\\"},
        {"C:\\setup.exe", "C:\\"},
        {"C:setup.exe", "C:"},
        {"C:/Windows/notepad.exe", "C:/Windows/"},
        {"/usr/bin/ls", "/usr/bin/"},
        {"/usr/bin/", "/usr/bin/"},
        {"/ls", "/"},
        {"C:\\ツール\\メモ帳.exe", "C:\\ツール\\"},
        {"/home/u/a:b.sh", "/home/u/"},
        {"ab:c.sh", ""},
        {"setup.exe", ""},
        {"", ""},
    };
    for (const auto& [path, part] : cases) {
        EXPECT_EQ(FolderPartOfPath(path), part) << path;
    }
}

}  // namespace
}  // namespace nagitori
