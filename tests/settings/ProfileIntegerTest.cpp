#include <gtest/gtest.h>

#include <climits>

#include "settings/ProfileInteger.h"

namespace nagitori {
namespace {

TEST(ProfileInteger, ParsesDecimalAndHexadecimalOrFallsBack) {
    constexpr int kFallback = 77;
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"0", 0},
        {"42", 42},
        {"-0", 0},
        {"+7", 7},
        {" -5", -5},
        {"\t\v\f 12", 12},
        {"0000000000000000000012", 12},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", kFallback},
        {"-2147483649", kFallback},
        {"99999999999999999999", kFallback},
        {"0x2", 2},
        {"0X1f", 31},
        {"$2", 2},
        {"$aB", 171},
        {"x1F", 31},
        {"X10", 16},
        {"+0x10", 16},
        {"-$10", -16},
        {"-x1", -1},
        {" 0x10", 16},
        {"$7FFFFFFF", INT_MAX},
        {"0X80000000", INT_MIN},
        {"$FFFFFFFF", -1},
        {"$000000000001", 1},
        {"$100000000", kFallback},
        {"-$FFFFFFFF", 1},
        {"-$80000000", INT_MIN},
        {"", kFallback},
        {" ", kFallback},
        {"+", kFallback},
        {"-", kFallback},
        {"$", kFallback},
        {"x", kFallback},
        {"0x", kFallback},
        {"-0x", kFallback},
        {"2x", kFallback},
        {"5 ", kFallback},
        {"- 5", kFallback},
        {"+-5", kFallback},
        {"$ 5", kFallback},
        {"$-1", kFallback},
        {"0x0x10", kFallback},
        {"$0x10", kFallback},
        {"FFFFFFFF", kFallback},
        {"1e3", kFallback},
        {"1.5", kFallback},
        {"yes", kFallback},
        {"\xEF\xBC\x91", kFallback},  // a full-width digit
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseProfileInteger(c.text, kFallback), c.expected) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace nagitori
