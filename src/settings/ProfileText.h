#pragma once

#include <cstddef>
#include <string_view>

#include "common/AsciiCase.h"

namespace nagitori {

// The blanks dropped around section names, keys and values: tab, LF, VT, FF, CR and space (not U+3000).
constexpr bool IsProfileBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

constexpr std::string_view TrimProfileBlanks(std::string_view text) {
    while (!text.empty() && IsProfileBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsProfileBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace nagitori
