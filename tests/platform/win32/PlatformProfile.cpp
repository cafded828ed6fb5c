#include "PlatformProfile.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace nagitori::test {

using win32::Utf8FromWide;
using win32::WideFromUtf8;

std::string PlatformReadString(const std::filesystem::path& file, const std::string& section, const std::string& key,
                               const std::string& defaultValue) {
    // The buffer of the program's reads: 2047 characters and the terminator.
    wchar_t buffer[2048] = {};
    const DWORD length = ::GetPrivateProfileStringW(WideFromUtf8(section).c_str(), WideFromUtf8(key).c_str(),
                                                    WideFromUtf8(defaultValue).c_str(), buffer, 2048, file.c_str());
    return Utf8FromWide(std::wstring_view(buffer, length));
}

bool PlatformWriteString(const std::filesystem::path& file, const std::string& section, const std::string& key,
                         const std::string& value) {
    return ::WritePrivateProfileStringW(WideFromUtf8(section).c_str(), WideFromUtf8(key).c_str(),
                                        WideFromUtf8(value).c_str(), file.c_str()) != FALSE;
}

bool PlatformEraseSection(const std::filesystem::path& file, const std::string& section) {
    return ::WritePrivateProfileStringW(WideFromUtf8(section).c_str(), nullptr, nullptr, file.c_str()) != FALSE;
}

}  // namespace nagitori::test
