#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/FileErrorText.h"

// What InputHistory asks of the file system, one file per operating system; the text rules are shared.
namespace nagitori::history {

inline constexpr std::string_view kLineBreak = "\r\n";

bool IsUtf8(std::string_view text);

// Splits a file's text into its entries; false when the text is not UTF-8.
bool SplitEntries(std::string_view content, std::vector<std::string>& entries);

// The whole content under a shared lock; nothing when there is no regular file at the path.
// Throws Error when the file cannot be read or is larger than kMaxDataFileBytes.
std::optional<std::string> ReadLocked(const std::filesystem::path& path, std::chrono::milliseconds lockTimeout);

// Under an exclusive lock: appends the entry unless a line equal to it is there; a new file holds it
// alone. The file is scanned before it is opened for writing, so a read-only file that holds the entry is no
// error. A symbolic link is followed to the file it leads to, except by root through another user's link.
// Throws WriteError, and leaves the old content as it was.
void AppendLocked(const std::filesystem::path& path, const std::string& entry, std::chrono::milliseconds lockTimeout);

// Removes the file unless it is write-protected, ignoring every failure.
void RemoveFile(const std::filesystem::path& path);

}  // namespace nagitori::history
