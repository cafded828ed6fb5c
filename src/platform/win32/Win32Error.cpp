#include "platform/win32/Win32Error.h"

#include <windows.h>

#include <string_view>

#include "platform/win32/WideText.h"

namespace nagitori::win32 {

std::string Win32ErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr) {
        return "error " + std::to_string(code);
    }
    std::wstring_view text(buffer, length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.remove_suffix(1);
    }
    std::string utf8 = Utf8FromWide(text);
    ::LocalFree(buffer);
    return utf8;
}

}  // namespace nagitori::win32
