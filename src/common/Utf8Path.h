#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace nagitori {

// Paths and UTF-8 text. On Windows a path holds UTF-16 and its string() speaks the ANSI code page, which
// cannot hold every name; these two convert through UTF-8 on every platform.
inline std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

inline std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace nagitori
