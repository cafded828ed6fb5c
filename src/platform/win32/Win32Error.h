#pragma once

#include <string>

namespace nagitori::win32 {

// The system's own text for a Windows error code (GetLastError), in UTF-8, without the final line break.
std::string Win32ErrorText(unsigned long code);

}  // namespace nagitori::win32
