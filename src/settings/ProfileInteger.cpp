#include "settings/ProfileInteger.h"

#include <string>

#include "settings/ProfileText.h"

namespace nagitori {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::int32_t ParseProfileInteger(std::string_view text, std::int32_t fallback) {
    std::string replaced;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        replaced = "$";
        replaced += text.substr(2);
        text = replaced;
    }

    std::size_t pos = 0;
    while (pos < text.size() && IsProfileBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }

    std::string_view rest = text.substr(pos);
    bool hex = false;
    if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        hex = true;
        rest.remove_prefix(2);
    } else if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
        hex = true;
        rest.remove_prefix(1);
    }
    if (rest.empty()) {
        return fallback;
    }

    // Accumulated in 64 bits and checked after every digit, so no length of leading zeros overflows.
    std::uint64_t magnitude = 0;
    if (hex) {
        for (char c : rest) {
            int digit = HexDigit(c);
            if (digit < 0) {
                return fallback;
            }
            magnitude = magnitude * 16 + static_cast<std::uint64_t>(digit);
            if (magnitude > 0xFFFFFFFFu) {
                return fallback;
            }
        }
        // A 32-bit pattern; a sign negates it modulo 2^32, as two's-complement arithmetic does.
        std::uint32_t pattern = static_cast<std::uint32_t>(magnitude);
        if (negative) {
            pattern = 0u - pattern;
        }
        return static_cast<std::int32_t>(pattern);
    }

    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    for (char c : rest) {
        if (c < '0' || c > '9') {
            return fallback;
        }
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
        if (magnitude > limit) {
            return fallback;
        }
    }
    if (negative) {
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    }
    return static_cast<std::int32_t>(magnitude);
}

}  // namespace nagitori
