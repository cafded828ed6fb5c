// ProfileFile against the platform's own profile reader, case by case. On Windows every case also runs
// against GetPrivateProfileStringW and WritePrivateProfileStringW, so that any difference shows as a
// failing row; where we differ on purpose, the row says what the platform gives and why.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "settings/ProfileFile.h"
#include "support/TempDir.h"

#ifdef _WIN32
#include "platform/win32/PlatformProfile.h"
#endif

namespace nagitori {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

enum class Action { kRead, kWrite, kErase };
// What a row compares after its action: the value read, the file's bytes, or the bytes seen through a
// second name (a hard link) of the file.
enum class Outcome { kValue, kFile, kLinkedName };

struct Row {
    const char* name;
    const char* before;  // nullptr: no file
    Action action;
    const char* section;
    const char* key;
    const char* text;  // the default of a read, the value of a write
    Outcome outcome;
    std::string expected;
    // Where the platform differs on purpose: what it gives, and why we do not.
    const char* platformDiffers = nullptr;
    std::string platformExpected = {};
};

// "ナギトリ"
const std::string kJapanese = "\xE3\x83\x8A\xE3\x82\xAE\xE3\x83\x88\xE3\x83\xAA";

std::vector<Row> Rows() {
    const std::string long2100(2100, 'a');
    static const std::string longFile = "[S]\r\nk=" + long2100 + "\r\n";
    return {
        {"names ignore letter case", "[ToolRunOption]\r\nCommandLine=/x\r\n", Action::kRead, "toolrunoption",
         "COMMANDLINE", "d", Outcome::kValue, "/x"},
        {"blanks around a value", "[S]\r\nk =  two words \t\r\n", Action::kRead, "S", "k", "d", Outcome::kValue,
         "two words"},
        {"double quotes around a value", "[S]\r\nk= \"  in quotes \" \r\n", Action::kRead, "S", "k", "d",
         Outcome::kValue, "  in quotes "},
        {"single quotes around a value", "[S]\r\nk='x y'\r\n", Action::kRead, "S", "k", "d", Outcome::kValue, "x y"},
        {"a quote at one end only", "[S]\r\nk=\"x y\r\n", Action::kRead, "S", "k", "d", Outcome::kValue, "\"x y"},
        {"missing file", nullptr, Action::kRead, "S", "k", "d", Outcome::kValue, "d"},
        {"missing section", "[S]\r\nk=1\r\n", Action::kRead, "T", "k", "d", Outcome::kValue, "d"},
        {"missing key", "[S]\r\nk=1\r\n", Action::kRead, "S", "j", "d", Outcome::kValue, "d"},
        {"a line without = is no key", "[S]\r\nword\r\n", Action::kRead, "S", "word", "d", Outcome::kValue, "d"},
        {"key= reads as empty text", "[S]\r\nk=\r\n", Action::kRead, "S", "k", "d", Outcome::kValue, ""},
        {"first duplicate key wins", "[S]\r\nk=1\r\nk=2\r\n", Action::kRead, "S", "k", "d", Outcome::kValue, "1"},
        {"first duplicate section wins", "[S]\r\nk=1\r\n[s]\r\nk=2\r\n", Action::kRead, "S", "k", "d", Outcome::kValue,
         "1"},
        {"2047 characters at most", longFile.c_str(), Action::kRead, "S", "k", "d", Outcome::kValue,
         std::string(2047, 'a')},
        {"writing creates file, section and key", nullptr, Action::kWrite, "S", "k", "v", Outcome::kValue, "v"},
        {"writing replaces the first duplicate", "[S]\r\nk=1\r\nk=2\r\n", Action::kWrite, "s", "K", "3",
         Outcome::kValue, "3"},
        {"erasing a section leaves the others", "[A]\r\nk=1\r\n[B]\r\nk=2\r\n", Action::kErase, "b", nullptr, nullptr,
         Outcome::kFile, "[A]\r\nk=1\r\n"},
        {"erasing a missing section", "[A]\r\nk=1\r\n", Action::kErase, "B", nullptr, nullptr, Outcome::kFile,
         "[A]\r\nk=1\r\n"},
        {"Japanese text", nullptr, Action::kWrite, "S", "k", kJapanese.c_str(), Outcome::kValue, kJapanese,
         "the platform writes a file without a UTF-16 byte-order mark in the ANSI code page; ours is UTF-8", "????"},
        {"formatting", "; comment\r\n\r\n[S]\r\nk = 1\r\n\r\n[T]\r\nx=2\r\n", Action::kWrite, "S", "j", "3",
         Outcome::kFile, "; comment\r\n\r\n[S]\r\nk = 1\r\nj=3\r\n\r\n[T]\r\nx=2\r\n",
         "the platform's writer drops blank lines and the blanks around =; ours keeps every other byte of the file",
         "; comment\r\n[S]\r\nk=1\r\nj=3\r\n[T]\r\nx=2\r\n"},
        {"replacement", "[S]\r\nk=1\r\n", Action::kWrite, "S", "k", "2", Outcome::kLinkedName, "[S]\r\nk=1\r\n",
         "the platform rewrites the file in place; ours writes a new file and renames it over the old, so a "
         "second name of the file keeps the old content",
         "[S]\r\nk=2\r\n"},
    };
}

// One implementation of the profile functions, over one file.
struct Profile {
    std::function<std::string(const char*, const char*, const char*)> read;
    std::function<void(const char*, const char*, const char*)> write;
    std::function<void(const char*)> erase;
};

Profile Ours(const std::filesystem::path& path) {
    return {[path](const char* s, const char* k, const char* d) { return ProfileFile(path).ReadString(s, k, d); },
            [path](const char* s, const char* k, const char* v) { ProfileFile(path).WriteString(s, k, v); },
            [path](const char* s) { ProfileFile(path).EraseSection(s); }};
}

#ifdef _WIN32
Profile Platform(const std::filesystem::path& path) {
    return {
        [path](const char* s, const char* k, const char* d) { return test::PlatformReadString(path, s, k, d); },
        [path](const char* s, const char* k, const char* v) { EXPECT_TRUE(test::PlatformWriteString(path, s, k, v)); },
        [path](const char* s) { EXPECT_TRUE(test::PlatformEraseSection(path, s)); }};
}
#endif

std::string RunRow(const Row& row, const std::function<Profile(const std::filesystem::path&)>& make) {
    TempDir dir;
    const std::filesystem::path path = dir / "test.ini";
    const std::filesystem::path link = dir / "link.ini";
    if (row.before != nullptr) {
        WriteFileBytes(path, row.before);
        if (row.outcome == Outcome::kLinkedName) {
            std::filesystem::create_hard_link(path, link);
        }
    }
    const Profile profile = make(path);
    switch (row.action) {
        case Action::kRead: return profile.read(row.section, row.key, row.text);
        case Action::kWrite: profile.write(row.section, row.key, row.text); break;
        case Action::kErase: profile.erase(row.section); break;
    }
    switch (row.outcome) {
        case Outcome::kValue: return profile.read(row.section, row.key, "(default)");
        case Outcome::kFile: return ReadFileBytes(path);
        case Outcome::kLinkedName: return ReadFileBytes(link);
    }
    return {};
}

TEST(ProfileConformance, OursGivesTheExpectedResultForEveryRow) {
    for (const Row& row : Rows()) {
        EXPECT_EQ(RunRow(row, Ours), row.expected) << row.name;
    }
}

#ifdef _WIN32
TEST(ProfileConformance, ThePlatformAgreesExceptWhereARowSaysWhy) {
    for (const Row& row : Rows()) {
        const std::string& expected = row.platformDiffers != nullptr ? row.platformExpected : row.expected;
        EXPECT_EQ(RunRow(row, Platform), expected) << row.name;
    }
}
#endif

}  // namespace
}  // namespace nagitori
