#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <climits>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Error.h"
#include "common/Utf8Path.h"
#include "settings/FileAccess.h"
#include "settings/ProfileFile.h"
#include "support/TempDir.h"

namespace nagitori {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(Utf8FromPath(entry.path().filename()));
    }
    return names;
}

// Identity of the file on disk: a replaced file gets a new inode (file index on Windows).
struct FileStamp {
    std::uint64_t inode;
    std::filesystem::file_time_type modified;
    bool operator==(const FileStamp&) const = default;
};

#ifdef _WIN32
FileStamp Stamp(const std::filesystem::path& path) {
    const HANDLE file = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    EXPECT_TRUE(::GetFileInformationByHandle(file, &info));
    ::CloseHandle(file);
    return FileStamp{(std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow,
                     std::filesystem::last_write_time(path)};
}
#else
FileStamp Stamp(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return FileStamp{static_cast<std::uint64_t>(info.st_ino), std::filesystem::last_write_time(path)};
}
#endif

// A new file gets the platform's line ends.
const std::string kNewLine(kNewFileLineEnd);

std::string Repeat(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

class ProfileFileTest : public ::testing::Test {
protected:
    TempDir dir_;
    std::filesystem::path path_ = dir_ / "nagitori.ini";
};

TEST_F(ProfileFileTest, ReadsTextWithDefaultsAndTheLengthLimit) {
    const std::string ascii2047 = std::string(2047, 'a');
    const std::string kana = "\xE3\x81\x82";       // one UTF-16 unit
    const std::string emoji = "\xF0\x9F\x98\x80";  // a surrogate pair: two units
    std::string content =
        "[ToolRunOption]\nCommandLine=\nCurrentDirectory=C:\\Users\\\xE5\xA4\xAA\xE9\x83\x8E\n[Long]\n";
    content += "Ascii=" + ascii2047 + "b\n";
    content += "Exact=" + ascii2047 + "\n";
    content += "Kana=" + Repeat(kana, 2048) + "\n";
    content += "Pairs=" + Repeat(emoji, 1024) + "\n";
    content += "OddPairs=a" + Repeat(emoji, 1024) + "\n";
    content += "Quoted=\"" + ascii2047 + "\"\n";
    content += "Invalid=" + std::string(2048, '\xFF') + "\n";
    WriteFileBytes(path_, content);
    struct Case {
        const char* section;
        const char* key;
        const char* defaultValue;
        std::string expected;
    };
    const Case cases[] = {
        {"ToolRunOption", "CommandLine", "default", ""},
        {"toolrunoption", "CURRENTDIRECTORY", "", "C:\\Users\\\xE5\xA4\xAA\xE9\x83\x8E"},
        {"ToolRunOption", "Missing", "default", "default"},
        {"Missing", "CommandLine", "default", "default"},
        {"Long", "Ascii", "", ascii2047},
        {"Long", "Exact", "", ascii2047},
        {"Long", "Kana", "", Repeat(kana, 2047)},
        {"Long", "Pairs", "", Repeat(emoji, 1023)},
        {"Long", "OddPairs", "", "a" + Repeat(emoji, 1023)},
        {"Long", "Quoted", "", ascii2047},
        {"Long", "Invalid", "", std::string(2047, '\xFF')},
    };
    const ProfileFile file(path_);
    for (const Case& c : cases) {
        EXPECT_EQ(file.ReadString(c.section, c.key, c.defaultValue), c.expected) << c.section << "/" << c.key;
    }
}

TEST_F(ProfileFileTest, ReadsIntegersAndBooleans) {
    WriteFileBytes(path_,
                   "[Start]\n"
                   "Hex0x=0x2\n"
                   "Dollar=$2\n"
                   "Trailing=2x\n"
                   "Negative= -5\n"
                   "Plus=+7\n"
                   "X=x1F\n"
                   "MinHex=0X80000000\n"
                   "TooBig=2147483648\n"
                   "Min=-2147483648\n"
                   "AllOnes=$FFFFFFFF\n"
                   "NoPrefix=FFFFFFFF\n"
                   "Empty=\n"
                   "Two=2\n"
                   "Yes=yes\n"
                   "MinusOne=-1\n"
                   "Zero=0\n");
    const ProfileFile file(path_);
    struct IntegerCase {
        const char* key;
        int defaultValue;
        int expected;
    };
    for (IntegerCase c : {IntegerCase{"Hex0x", 1, 2}, IntegerCase{"Dollar", 1, 2}, IntegerCase{"Trailing", 1, 1},
                          IntegerCase{"Negative", 1, -5}, IntegerCase{"Plus", 1, 7}, IntegerCase{"X", 1, 31},
                          IntegerCase{"MinHex", 1, INT_MIN}, IntegerCase{"TooBig", 9, 9},
                          IntegerCase{"Min", 1, INT_MIN}, IntegerCase{"AllOnes", 1, -1}, IntegerCase{"NoPrefix", 4, 4},
                          IntegerCase{"Empty", 4, 4}, IntegerCase{"Missing", 4, 4}}) {
        EXPECT_EQ(file.ReadInteger("START", c.key, c.defaultValue), c.expected) << c.key;
    }
    EXPECT_EQ(ProfileFile(dir_ / "missing.ini").ReadInteger("Start", "Two", 3), 3);

    struct BoolCase {
        const char* key;
        bool defaultValue;
        bool expected;
    };
    for (BoolCase c : {BoolCase{"Two", false, true}, BoolCase{"Yes", false, false}, BoolCase{"Yes", true, true},
                       BoolCase{"MinusOne", false, true}, BoolCase{"Zero", true, false}, BoolCase{"Empty", true, true},
                       BoolCase{"Missing", false, false}}) {
        EXPECT_EQ(file.ReadBool("Start", c.key, c.defaultValue), c.expected) << c.key;
    }
}

TEST_F(ProfileFileTest, ReadsDefaultsWhenTheFileCannotBeRead) {
    std::filesystem::create_directory(dir_ / "folder.ini");
    WriteFileBytes(dir_ / "file", "");
    // Text in UTF-16, and a sparse file just above the size bound.
    WriteFileBytes(dir_ / "utf16.ini", std::string("\xFF\xFE[\0S\0]\0\n\0k\0=\0v\0", 16));
    WriteFileBytes(dir_ / "huge.ini", "[S]\nk=v\n");
    std::filesystem::resize_file(dir_ / "huge.ini", kMaxDataFileBytes + 1);
    std::vector<std::filesystem::path> paths = {dir_ / "missing.ini", dir_ / "folder.ini", dir_ / "file" / "x.ini",
                                                dir_ / "utf16.ini", dir_ / "huge.ini"};
#ifndef _WIN32
    ASSERT_EQ(::mkfifo((dir_ / "pipe.ini").c_str(), 0644), 0);  // must not block the reader
    paths.push_back(dir_ / "pipe.ini");
#endif
    for (const std::filesystem::path& path : paths) {
        const ProfileFile file(path);
        EXPECT_EQ(file.ReadString("S", "k", "d"), "d") << path;
        EXPECT_EQ(file.ReadInteger("S", "k", 7), 7) << path;
        EXPECT_TRUE(file.ReadBool("S", "k", true)) << path;
    }
    EXPECT_EQ(FolderEntries(dir_.Path()).size(), paths.size() - 1);
}

TEST_F(ProfileFileTest, ValuesRoundTripExactly) {
    ProfileFile file(path_);
    const std::string values[] = {
        "",
        "C:\\Program Files\\\xE3\x83\xA1\xE3\x83\xA2\xE5\xB8\xB3\\notepad.exe",
        "\xE3\x80\x80\xE5\x85\xA8\xE8\xA7\x92\xE3\x80\x80",
        "  two blanks both sides  ",
        "\"quoted\"",
        "'single'",
        "\"C:\\a b\\c.exe\" --flag \"x y\"",
        "\t",
        "=",
        "[not a section]",
    };
    for (const std::string& value : values) {
        file.WriteString("\xE3\x83\xA9\xE3\x83\xB3\xE3\x83\x81\xE3\x83\xA3\xE3\x83\xBC", "Value", value);
        EXPECT_EQ(file.ReadString("\xE3\x83\xA9\xE3\x83\xB3\xE3\x83\x81\xE3\x83\xA3\xE3\x83\xBC", "value", "?"), value);
    }
    for (int value : {0, -1, 2, INT_MIN, INT_MAX}) {
        file.WriteInteger("S", "I", value);
        EXPECT_EQ(file.ReadInteger("S", "I", 12345), value);
    }
    file.WriteBool("S", "B", true);
    EXPECT_TRUE(file.ReadBool("S", "B", false));
    file.WriteBool("S", "B", false);
    EXPECT_FALSE(file.ReadBool("S", "B", true));
    EXPECT_EQ(ReadFileBytes(path_), std::string("[\xE3\x83\xA9\xE3\x83\xB3\xE3\x83\x81\xE3\x83\xA3\xE3\x83\xBC]") +
                                        kNewLine + "Value=[not a section]" + kNewLine + "[S]" + kNewLine +
                                        "I=2147483647" + kNewLine + "B=0" + kNewLine);
}

TEST_F(ProfileFileTest, WriteKeepsEveryOtherByteOfAHandEditedFile) {
    const std::string before =
        "\xEF\xBB\xBF; settings written by hand\r\n"
        "\r\n"
        "[ToolRunOption]\r\n"
        "CommandLine = /s  \r\n"
        "  WindowSize=2\r\n"
        "\r\n"
        "; the start options\r\n"
        "[Start]\r\n"
        "RunShowTab=3\r\n"
        "garbage line\r\n";
    WriteFileBytes(path_, before);
    ProfileFile file(path_);
    file.WriteInteger("toolrunoption", "windowsize", 0);
    file.WriteBool("ToolRunOption", "GiveAdministrator", true);
    file.WriteString("AutoInput", "Launcher_Name", "1");
    EXPECT_EQ(ReadFileBytes(path_),
              "\xEF\xBB\xBF; settings written by hand\r\n"
              "\r\n"
              "[ToolRunOption]\r\n"
              "CommandLine = /s  \r\n"
              "  WindowSize=0\r\n"
              "GiveAdministrator=1\r\n"
              "\r\n"
              "; the start options\r\n"
              "[Start]\r\n"
              "RunShowTab=3\r\n"
              "garbage line\r\n"
              "[AutoInput]\r\n"
              "Launcher_Name=1\r\n");
    EXPECT_EQ(FolderEntries(dir_.Path()), std::vector<std::string>{"nagitori.ini"});
}

TEST_F(ProfileFileTest, ToggleOnAMissingFileCreatesOneSectionWithOneKey) {
    ProfileFile file(path_);
    EXPECT_FALSE(std::filesystem::exists(path_));
    file.WriteBool("ToolRunOption", "GiveAdministrator", true);
    EXPECT_EQ(ReadFileBytes(path_), std::string("[ToolRunOption]") + kNewLine + "GiveAdministrator=1" + kNewLine);
}

TEST_F(ProfileFileTest, WritingTheValueAKeyHoldsLeavesTheFileUntouched) {
    WriteFileBytes(path_, "[S]\nText = \" padded \"\nNumber=0x10\n");
    ProfileFile file(path_);
    const FileStamp before = Stamp(path_);
    file.WriteString("s", "TEXT", " padded ");
    file.WriteInteger("S", "Number", 16);  // "16" is not the text "0x10": rewritten
    const FileStamp afterFirst = Stamp(path_);
    EXPECT_NE(afterFirst, before);
    file.WriteInteger("S", "Number", 16);
    file.WriteString("S", "Text", " padded ");
    EXPECT_EQ(Stamp(path_), afterFirst);
    EXPECT_EQ(ReadFileBytes(path_), "[S]\nText = \" padded \"\nNumber=16\n");
}

TEST_F(ProfileFileTest, RefusesALineBreakInAValueAndKeepsTheFile) {
    const std::string before = "[S]\nk=1\n";
    WriteFileBytes(path_, before);
    const FileStamp stamp = Stamp(path_);
    ProfileFile file(path_);
    EXPECT_THROW(file.WriteString("S", "k", "1\r\n[Injected]\r\nx=1"), WriteError);
    EXPECT_THROW(file.WriteString("S", "new", "a\nb"), WriteError);
    EXPECT_EQ(ReadFileBytes(path_), before);
    EXPECT_EQ(Stamp(path_), stamp);
}

TEST_F(ProfileFileTest, WriteFailsWithoutAUsableFolderOrFileAndLeavesNothing) {
    WriteFileBytes(dir_ / "plain", "not a folder");
    std::filesystem::create_directory(dir_ / "folder.ini");
    std::vector<std::filesystem::path> paths = {dir_ / "missing" / "x.ini", dir_ / "plain" / "x.ini",
                                                dir_ / "folder.ini"};
#ifndef _WIN32
    // A file that exists but cannot be read is never replaced by one that holds only the new key.
    ASSERT_EQ(::mkfifo((dir_ / "pipe.ini").c_str(), 0644), 0);
    paths.push_back(dir_ / "pipe.ini");
#endif
    for (const std::filesystem::path& path : paths) {
        ProfileFile file(path);
        EXPECT_THROW(file.WriteString("S", "k", "v"), WriteError) << path;
        EXPECT_THROW(file.Update([](IniDocument& document) { document.SetValue("S", "k", "v"); }), WriteError) << path;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing"));
    EXPECT_EQ(ReadFileBytes(dir_ / "plain"), "not a folder");
    EXPECT_TRUE(std::filesystem::is_empty(dir_ / "folder.ini"));
    EXPECT_EQ(FolderEntries(dir_.Path()).size(), paths.size() - 1);
}

TEST_F(ProfileFileTest, ATemporaryFileLeftByACrashGoesWithTheNextWrite) {
    WriteFileBytes(path_, "[S]\nk=1\n");
    WriteFileBytes(dir_ / ".nagitori.ini.tmp", "[S]\nk=half a fi");
    ProfileFile file(path_);
    file.WriteString("S", "k", "2");
    EXPECT_EQ(ReadFileBytes(path_), "[S]\nk=2\n");
    EXPECT_EQ(FolderEntries(dir_.Path()), std::vector<std::string>{"nagitori.ini"});
}

TEST_F(ProfileFileTest, EraseSection) {
    ProfileFile missing(dir_ / "missing.ini");
    missing.EraseSection("Application_1");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing.ini"));
    ProfileFile noFolder(dir_ / "none" / "LauncherData.ini");
    noFolder.EraseSection("Application_1");

    WriteFileBytes(path_, "[Application_1]\nName=a\n[Application_2]\nName=b\n");
    ProfileFile file(path_);
    const FileStamp stamp = Stamp(path_);
    file.EraseSection("Application_3");
    EXPECT_EQ(Stamp(path_), stamp);
    file.EraseSection("application_1");
    EXPECT_EQ(ReadFileBytes(path_), "[Application_2]\nName=b\n");
    EXPECT_EQ(file.ReadString("Application_1", "Name", "gone"), "gone");
}

TEST_F(ProfileFileTest, UpdateReplacesTheFileOnceOrNotAtAll) {
    WriteFileBytes(path_, "[Application_1]\nName=old\n[Application_2]\nName=two\n[Other]\nx=1\n");
    ProfileFile file(path_);
    file.Update([](IniDocument& document) {
        document.EraseSection("Application_1");
        document.EraseSection("Application_2");
        document.SetValue("Application_1", "Name", "new");
        document.SetValue("Application_1", "AnAdminAdd", "0");
    });
    const std::string saved = "[Other]\nx=1\n[Application_1]\nName=new\nAnAdminAdd=0\n";
    EXPECT_EQ(ReadFileBytes(path_), saved);

    const FileStamp stamp = Stamp(path_);
    EXPECT_THROW(file.Update([](IniDocument& document) {
        document.EraseSection("Other");
        document.SetValue("Application_1", "Name", "bad\nname");
    }),
                 WriteError);
    EXPECT_EQ(ReadFileBytes(path_), saved);
    EXPECT_EQ(Stamp(path_), stamp);
}

// Permission bits and symbolic links as POSIX has them.
#ifndef _WIN32
TEST_F(ProfileFileTest, ReplacementKeepsPermissionsAndSymbolicLinks) {
    WriteFileBytes(path_, "[S]\nk=1\n");
    std::filesystem::permissions(path_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                            std::filesystem::perms::group_read);
    ProfileFile(path_).WriteString("S", "k", "2");
    EXPECT_EQ(
        std::filesystem::status(path_).permissions() & std::filesystem::perms::all,
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write | std::filesystem::perms::group_read);

    std::filesystem::create_directory(dir_ / "real");
    WriteFileBytes(dir_ / "real" / "data.ini", "[S]\nk=1\n");
    std::filesystem::create_symlink(dir_ / "real" / "data.ini", dir_ / "link.ini");
    ProfileFile(dir_ / "link.ini").WriteString("S", "k", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.ini"));
    EXPECT_EQ(ReadFileBytes(dir_ / "real" / "data.ini"), "[S]\nk=2\n");
}

TEST_F(ProfileFileTest, NewFileGetsTheUsualPermissions) {
    const mode_t previous = ::umask(022);
    ProfileFile(path_).WriteString("S", "k", "v");
    ::umask(previous);
    EXPECT_EQ(std::filesystem::status(path_).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read | std::filesystem::perms::others_read);
}
#endif

}  // namespace
}  // namespace nagitori
