#pragma once

#include <memory>
#include <string>

#include "platform/RunKey.h"

struct HKEY__;

namespace nagitori::win32 {

// The machine-wide Run key, below HKEY_LOCAL_MACHINE.
inline constexpr wchar_t kRunKeyPath[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// An existing registry key opened with KEY_ALL_ACCESS, as a run key. Null when the key is missing or the
// access is refused; the key is never created. Tests open a scratch key of their own instead of Run.
std::unique_ptr<RunKey> OpenRegistryRunKey(HKEY__* root, const std::wstring& subKey);

}  // namespace nagitori::win32
