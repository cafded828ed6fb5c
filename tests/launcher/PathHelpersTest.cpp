#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Error.h"
#include "launcher/PathHelpers.h"

namespace nagitori {
namespace {

// One path and what each system makes of it: on Windows "\", "/" and a drive's colon separate; elsewhere
// only "/" does.
struct Case {
    std::string path;
    std::string windows;
    std::string posix;
};

#ifdef _WIN32
const std::string& Expected(const Case& c) {
    return c.windows;
}
#else
const std::string& Expected(const Case& c) {
    return c.posix;
}
#endif

TEST(PathHelpers, FileNameWithoutExtension) {
    const std::vector<Case> cases = {
        {"C:\\Windows\\notepad.exe", "notepad", "C:\\Windows\\notepad"},
        {"/opt/app/run.sh", "run", "run"},
        {"/usr/bin/gnome-calculator", "gnome-calculator", "gnome-calculator"},
        {"C:/Program Files/App/app.v2.exe", "app.v2", "app.v2"},
        {"archive.tar.gz", "archive.tar", "archive.tar"},
        {"mixed/dir\\tool.bat", "tool", "dir\\tool"},
        {"/home/u/a\\b.sh", "b", "a\\b"},
        {"D:setup.exe", "setup", "D:setup"},
        {"C:\\ツール\\メモ帳.exe", "メモ帳", "C:\\ツール\\メモ帳"},
        {"/home/u/dir.d/noext", "noext", "noext"},
        {"name.", "name", "name"},
        {"/home/u/.profile", ".profile", ".profile"},
        {"/home/u/.config.txt", ".config", ".config"},
        {"/home/u/a:b.sh", "a:b", "a:b"},
        {"C:\\Windows\\", "", "C:\\Windows\\"},
        {"/usr/bin/", "", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileNameWithoutExtension(c.path), Expected(c)) << c.path;
    }
}

TEST(PathHelpers, FileNameWithoutExtensionRefusesCharactersNoPathHolds) {
    using namespace std::string_literals;
    struct Refusal {
        std::string path;
        bool windows;
        bool posix;
    };
    // A POSIX name may hold any byte but NUL.
    const std::vector<Refusal> cases = {
        {"C:\\a\"b.exe", true, false},   {"a<b.exe", true, false},  {"a>b.exe", true, false},
        {"C:\\a|b\\c.exe", true, false}, {"a\tb.exe", true, false}, {"a\nb", true, false},
        {"/x/\x1F.sh", true, false},     {"a\0b.exe"s, true, true}, {"/x/y.sh", false, false},
    };
    for (const Refusal& c : cases) {
#ifdef _WIN32
        const bool refused = c.windows;
#else
        const bool refused = c.posix;
#endif
        try {
            FileNameWithoutExtension(c.path);
            EXPECT_FALSE(refused) << "accepted " << c.path;
        } catch (const Error& error) {
            EXPECT_TRUE(refused) << "refused " << c.path;
            EXPECT_STREQ(error.what(), kInvalidPathCharacters);
        }
    }
}

TEST(PathHelpers, FolderOfPath) {
    const std::vector<Case> cases = {
        {"C:\\Windows\\notepad.exe", "C:\\Windows", ""},
        {"C:\\setup.exe", "C:\\", ""},
        {"C:setup.exe", "C:", ""},
        {"C:", "C:", ""},
        {"C:\\", "C:\\", ""},
        {"C:\\\\setup.exe", "C:\\", ""},
        {"C:\\Windows\\", "C:\\Windows", ""},
        {"C:/Windows/notepad.exe", "C:/Windows", "C:/Windows"},
        {"\\\\server\\share\\x.exe", "\\\\server\\share", ""},
        {"\\x.exe", "\\", ""},
        {"/home/u/a\\b.sh", "/home/u/a", "/home/u"},
        {"/home/u/a\\", "/home/u/a", "/home/u"},
        {"/usr/bin/ls", "/usr/bin", "/usr/bin"},
        {"/usr/bin/", "/usr/bin", "/usr/bin"},
        {"/usr//bin//ls", "/usr//bin", "/usr//bin"},
        {"/ls", "/", "/"},
        {"/", "/", "/"},
        {"//ls", "/", "/"},
        {"dir/file", "dir", "dir"},
        {"C:\\ツール\\メモ帳.exe", "C:\\ツール", ""},
        {"/home/u/a:b.sh", "/home/u", "/home/u"},
        {"ab:c.sh", "", ""},
        {"1:x", "", ""},
        {"setup.exe", "", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FolderOfPath(c.path), Expected(c)) << c.path;
    }
}

TEST(PathHelpers, FolderPartOfPath) {
    const std::vector<Case> cases = {
        {"C:\\Windows\\notepad.exe", "C:\\Windows\\", ""},
        {"C:\\setup.exe", "C:\\", ""},
        {"C:setup.exe", "C:", ""},
        {"C:/Windows/notepad.exe", "C:/Windows/", "C:/Windows/"},
        {"/home/u/a\\b.sh", "/home/u/a\\", "/home/u/"},
        {"/usr/bin/ls", "/usr/bin/", "/usr/bin/"},
        {"/usr/bin/", "/usr/bin/", "/usr/bin/"},
        {"/ls", "/", "/"},
        {"C:\\ツール\\メモ帳.exe", "C:\\ツール\\", ""},
        {"/home/u/a:b.sh", "/home/u/", "/home/u/"},
        {"ab:c.sh", "", ""},
        {"setup.exe", "", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FolderPartOfPath(c.path), Expected(c)) << c.path;
    }
}

}  // namespace
}  // namespace nagitori
