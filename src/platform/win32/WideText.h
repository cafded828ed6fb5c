#pragma once

#include <string>
#include <string_view>

namespace nagitori::win32 {

// The Windows API speaks UTF-16; the rest of the program speaks UTF-8. These are the only conversions
// between the two. A byte that starts no valid UTF-8 sequence, or a lone surrogate, becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

}  // namespace nagitori::win32
