#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace nagitori {

// The whole content of a regular file, or nothing with the reason in error (no_such_file_or_directory
// when the file is missing). Never blocks on a pipe or device at the path.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::error_code& error);

// Replaces the file with the bytes in one step: they go to a new temporary file in the same folder, which
// is flushed to disk and renamed over the old file, so a reader sees either the old or the new content.
// The old file's permission bits are kept. Throws WriteError and leaves no temporary file behind on
// failure; the folder is never created.
void ReplaceWholeFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace nagitori
