#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/Error.h"
#include "settings/IniDocument.h"

namespace nagitori {
namespace {

TEST(IniDocument, ReadsByTheProfileRules) {
    const IniDocument document(
        "Orphan=before any section\n"
        "[Before]\n"
        "Decoy = [Main]\n"
        "Plain=decoy\n"
        "\v\f[Main]\n"
        "Plain=value\n"
        "Spaced \t=\v\f value with inner  blanks \t \n"
        "Empty=\n"
        "Double=\"quoted\"\n"
        "Single=' single '\n"
        "Mixed=\"mixed'\n"
        "Lone=\"\n"
        "Twice=\"\"twice\"\"\n"
        "QuotedBlanks=  \"  \"  \n"
        "Ideographic=\xE3\x80\x80wide\xE3\x80\x80\n"
        "Equals=a=b\n"
        "no equals sign here\n"
        "Dup=first\n"
        "dup=second\n"
        "  [  Other  ]  trailing\n"
        "Key=other\n"
        "[main]\n"
        "Late=unreachable\n"
        "[\xE6\x97\xA5\xE6\x9C\xAC]\n"
        "\xE5\x90\x8D\xE5\x89\x8D=\xE5\x80\xA4\n");
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"Main", "Plain", "value"},
        {"MAIN", "pLAIN", "value"},
        {"Main", "Spaced", "value with inner  blanks"},
        {"Main", "Empty", ""},
        {"Main", "Double", "quoted"},
        {"Main", "Single", " single "},
        {"Main", "Mixed", "\"mixed'"},
        {"Main", "Lone", "\""},
        {"Main", "Twice", "\"twice\""},
        {"Main", "QuotedBlanks", "  "},
        {"Main", "Ideographic", "\xE3\x80\x80wide\xE3\x80\x80"},
        {"Main", "Equals", "a=b"},
        {"Main", "no equals sign here", std::nullopt},
        {"Main", "Dup", "first"},
        {"Main", "Late", std::nullopt},
        {"Main", "Key", std::nullopt},
        {"Other", "Key", "other"},
        {"Main", "Orphan", std::nullopt},
        {"Before", "Decoy", "[Main]"},
        {"Missing", "Plain", std::nullopt},
        {"\xE6\x97\xA5\xE6\x9C\xAC", "\xE5\x90\x8D\xE5\x89\x8D", "\xE5\x80\xA4"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(document.Value(c.section, c.key), c.value) << c.section << "/" << c.key;
    }
}

TEST(IniDocument, ReadsEveryLineEndAndSkipsTheByteOrderMark) {
    for (const char* bytes :
         {"\xEF\xBB\xBF[S]\nA=1\nB=2", "[S]\r\nA=1\r\nB=2\r\n", "[S]\rA=1\rB=2\r", "[S]\r\nA=1\rB=2\n"}) {
        const IniDocument document(bytes);
        EXPECT_EQ(document.Value("S", "A"), "1") << bytes;
        EXPECT_EQ(document.Value("S", "B"), "2") << bytes;
        EXPECT_EQ(document.Bytes(), bytes);
    }
}

TEST(IniDocument, WritesKeepEveryOtherLineByteForByte) {
    struct Case {
        const char* name;
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    };
    // A file without line ends gets the platform's own.
    const std::string newLine(kNewFileLineEnd);
    const Case cases[] = {
        {"replace in place, keeping the key's spelling and the blanks after =",
         "; top\n[S]\n  KEY =  old  \t\nother=x\n", "S", "key", "new", "; top\n[S]\n  KEY =  new\nother=x\n"},
        {"replace with an empty value", "[S]\nk = old\n", "S", "k", "", "[S]\nk =\n"},
        {"new key after the section's last key, before blank lines and comments", "[A]\na=1\n\n; about B\n[B]\nb=2\n",
         "A", "n", "v", "[A]\na=1\nn=v\n\n; about B\n[B]\nb=2\n"},
        {"new key in a section without keys", "[A]\n; nothing yet\n\n[B]\n", "A", "n", "v",
         "[A]\nn=v\n; nothing yet\n\n[B]\n"},
        {"new key after a last line without line end", "[A]\na=1", "A", "n", "v", "[A]\na=1\nn=v\n"},
        {"new section at the end", "[A]\na=1\n\n", "B", "n", "v", "[A]\na=1\n\n[B]\nn=v\n"},
        {"new section after a last line without line end", "[A]\na=1", "B", "n", "v", "[A]\na=1\n[B]\nn=v\n"},
        {"new section in an empty file", "", "B", "n", "v", "[B]" + newLine + "n=v" + newLine},
        {"lines before the first section are not a section", "n=old\n", "B", "n", "v", "n=old\n[B]\nn=v\n"},
        {"CRLF file stays CRLF", "[A]\r\na=1\r\n", "A", "n", "v", "[A]\r\na=1\r\nn=v\r\n"},
        {"new section in a CRLF file", "[A]\r\na=1\r\n", "B", "n", "v", "[A]\r\na=1\r\n[B]\r\nn=v\r\n"},
        {"CR file stays CR", "[A]\ra=1\r", "A", "n", "v", "[A]\ra=1\rn=v\r"},
        {"the dominant line end wins", "[A]\r\na=1\r\nb=2\n", "A", "n", "v", "[A]\r\na=1\r\nb=2\nn=v\r\n"},
        {"byte-order mark kept", "\xEF\xBB\xBF[A]\na=1\n", "A", "a", "2", "\xEF\xBB\xBF[A]\na=2\n"},
        {"first duplicate section and key win", "[A]\nk=1\nk=2\n[a]\nk=3\nm=4\n", "a", "K", "5",
         "[A]\nk=5\nk=2\n[a]\nk=3\nm=4\n"},
        {"a key only in the second duplicate section goes into the first", "[A]\nk=1\n[A]\nm=4\n", "A", "m", "6",
         "[A]\nk=1\nm=6\n[A]\nm=4\n"},
    };
    for (const Case& c : cases) {
        IniDocument document(c.before);
        EXPECT_TRUE(document.SetValue(c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(document.Bytes(), c.after) << c.name;
        EXPECT_EQ(document.Value(c.section, c.key), c.value) << c.name;
    }
}

TEST(IniDocument, QuotesValuesThatWouldNotReadBackAndOnlyThose) {
    struct Case {
        const char* value;
        const char* line;
    };
    const Case cases[] = {
        {"plain", "k=plain"},
        {"C:\\Program Files\\\xE3\x83\xA1\xE3\x83\xA2\\a.exe", "k=C:\\Program Files\\\xE3\x83\xA1\xE3\x83\xA2\\a.exe"},
        {"\"C:\\a b\\c.exe\" -x", "k=\"C:\\a b\\c.exe\" -x"},
        {" leading", "k=\" leading\""},
        {"trailing\t", "k=\"trailing\t\""},
        {"\"both\"", "k=\"\"both\"\""},
        {"'single'", "k=\"'single'\""},
        {"\"", "k=\""},
        {"\"\"", "k=\"\"\"\""},
        {" ", "k=\" \""},
        {"\" ", "k=\"\" \""},
        {"\xE3\x80\x80", "k=\xE3\x80\x80"},
    };
    for (const Case& c : cases) {
        IniDocument document("[S]\n");
        document.SetValue("S", "k", c.value);
        EXPECT_EQ(document.Bytes(), std::string("[S]\n") + c.line + "\n") << c.value;
        EXPECT_EQ(IniDocument(document.Bytes()).Value("S", "k"), c.value) << c.value;
    }
}

TEST(IniDocument, SameValueIsNoChange) {
    IniDocument document("[S]\nk = \"  x \" \n");
    EXPECT_FALSE(document.SetValue("s", "K", "  x "));
    EXPECT_EQ(document.Bytes(), "[S]\nk = \"  x \" \n");
}

TEST(IniDocument, RefusesLineBreaksAndNamesThatWouldNotReadBack) {
    const std::string original = "[S]\nk=1\n";
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"S", "k", "a\nb"}, {"S", "k", "a\r"}, {"S", "new", "\r\n[X]\ny=1"},
        {"S\n", "k", "v"},  {"S", "k=x", "v"}, {"S", "[k", "v"},
        {"S", " k", "v"},   {"", "k", "v"},    {"S", "", "v"},
        {"S ", "k", "v"},
    };
    for (const Case& c : cases) {
        IniDocument document(original);
        EXPECT_THROW(document.SetValue(c.section, c.key, c.value), WriteError) << c.section << "/" << c.key;
        EXPECT_EQ(document.Bytes(), original);
    }
}

TEST(IniDocument, EraseSectionRemovesEveryCopyUpToTheNextSection) {
    IniDocument document("top=1\n[A]\na=1\n; note\n\n[B]\nb=2\n[a]\na=3\n[C]\nc=4");
    EXPECT_TRUE(document.EraseSection("a"));
    EXPECT_EQ(document.Bytes(), "top=1\n[B]\nb=2\n[C]\nc=4");
    EXPECT_EQ(document.Value("A", "a"), std::nullopt);

    EXPECT_TRUE(document.EraseSection("C"));
    EXPECT_EQ(document.Bytes(), "top=1\n[B]\nb=2\n");

    EXPECT_FALSE(document.EraseSection("Missing"));
    EXPECT_EQ(document.Bytes(), "top=1\n[B]\nb=2\n");
}

}  // namespace
}  // namespace nagitori
