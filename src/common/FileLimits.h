#pragma once

#include <chrono>
#include <cstdint>

namespace nagitori {

// The largest settings, launcher or history file the program reads. Ours stay far below it; reading a bigger
// file would only exhaust memory or time, so it reads as missing and is never rewritten.
inline constexpr std::uintmax_t kMaxDataFileBytes = 64 * 1024 * 1024;

// How long a write waits for another running copy that holds the file's lock before it fails.
inline constexpr std::chrono::milliseconds kFileLockTimeout{3000};

}  // namespace nagitori
