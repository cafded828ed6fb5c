#pragma once

#include <filesystem>
#include <string>

namespace nagitori::test {

// The platform's own profile functions, GetPrivateProfileStringW and WritePrivateProfileStringW, with
// texts in UTF-8: the reference that ProfileFile is compared with on Windows.
std::string PlatformReadString(const std::filesystem::path& file, const std::string& section, const std::string& key,
                               const std::string& defaultValue);
// False when the platform refuses the write.
bool PlatformWriteString(const std::filesystem::path& file, const std::string& section, const std::string& key,
                         const std::string& value);
bool PlatformEraseSection(const std::filesystem::path& file, const std::string& section);

}  // namespace nagitori::test
