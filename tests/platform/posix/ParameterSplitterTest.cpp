#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/ParameterSplitter.h"

namespace nagitori::posix {
namespace {

TEST(ParameterSplitter, KeepsEveryTypedCharacter) {
    struct Case {
        std::string parameters;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"", {}},
        {" \t ", {}},
        {"one two", {"one", "two"}},
        {"  leading and trailing \t", {"leading", "and", "trailing"}},
        // Nothing is a comment, a variable, a pattern or a command separator.
        {"--color #ff0000 issue #12", {"--color", "#ff0000", "issue", "#12"}},
        {"$HOME ~ ~/x *.txt ? 100% a;b | & `ls`", {"$HOME", "~", "~/x", "*.txt", "?", "100%", "a;b", "|", "&", "`ls`"}},
        // A quote without a closing partner is an ordinary character.
        {"Tom's file.txt", {"Tom's", "file.txt"}},
        {"say \"unclosed", {"say", "\"unclosed"}},
        {"it's \"fine\"", {"it's", "fine"}},
        // Quotes group, and an empty pair is an empty word.
        {R"("two words"  'single quoted' plain)", {"two words", "single quoted", "plain"}},
        {R"("" x '')", {"", "x", ""}},
        {R"(pre"mid dle"post)", {"premid dlepost"}},
        {R"("a'b" 'c"d')", {"a'b", "c\"d"}},
        // Inside double quotes a backslash escapes only '"' and '\'; inside single quotes nothing.
        {R"("a \"b\" c\\d \e")", {R"(a "b" c\d \e)"}},
        {R"('a\b' 'c\')", {R"(a\b)", R"(c\)"}},
        // Outside quotes a backslash escapes the next character; a last one stays.
        {R"(a\ b \"q\" x\\y trailing\)", {"a b", "\"q\"", R"(x\y)", R"(trailing\)"}},
        // Only space and tab separate; other blanks belong to the word.
        {"ナギトリ \"日本 語\" 全角\u3000空白", {"ナギトリ", "日本 語", "全角\u3000空白"}},
        {"line\nbreak", {"line\nbreak"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitParameters(c.parameters), c.words) << c.parameters;
    }
}

}  // namespace
}  // namespace nagitori::posix
