#include "platform/win32/WideText.h"

#include <gtest/gtest.h>

namespace nagitori::win32 {
namespace {

TEST(WideText, ConvertsEveryCharacterBothWays) {
    const struct {
        std::string utf8;
        std::wstring wide;
    } cases[] = {
        {"", L""},
        {"C:\\Program Files\\nagitori.exe", L"C:\\Program Files\\nagitori.exe"},
        {"\xE3\x83\x8A\xE3\x82\xAE\xE3\x83\x88\xE3\x83\xAA", L"\u30CA\u30AE\u30C8\u30EA"},
        {"\xF0\x9F\x98\x80", L"\xD83D\xDE00"},  // outside the basic plane: a surrogate pair
        {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WideFromUtf8(c.utf8), c.wide) << c.utf8;
        EXPECT_EQ(Utf8FromWide(c.wide), c.utf8) << c.utf8;
    }
}

TEST(WideText, ReplacesWhatIsNotText) {
    EXPECT_EQ(WideFromUtf8("a\xFF"
                           "b"),
              L"a\uFFFDb");
    EXPECT_EQ(Utf8FromWide(std::wstring(L"a\xD800"
                                        L"b")),
              "a\xEF\xBF\xBD"
              "b");
}

}  // namespace
}  // namespace nagitori::win32
