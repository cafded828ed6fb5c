#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>

#include "common/FileLimits.h"

namespace nagitori {

// The whole content of a regular file, or nothing with the reason in error (no_such_file_or_directory when the
// file is missing, file_too_large above kMaxDataFileBytes). Never blocks on a pipe or device at the path, and
// takes no lock: a file is only ever replaced whole, so a read sees either the old or the new content.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::error_code& error);

// Who may read a file that a write creates: as the process's umask allows, or its owner alone. Files that exist
// keep their own permissions.
enum class NewFileAccess { Shared, OwnerOnly };

// The file that a write to path goes to: a symbolic link is followed to the end of its chain, so that the link
// itself survives the replacement, and a link to nothing gives the file it names. Throws WriteError where root
// would follow a link that another user owns.
std::filesystem::path WriteTarget(const std::filesystem::path& path);

// Deletes the file unless it is write-protected or a folder; a missing file or a refusal is passed over.
void DeleteUnlessProtected(const std::filesystem::path& path);

// What a rewrite makes of the file's content (empty for a missing file): the new content, or nothing to leave
// the file as it is. It is called again when another copy replaced the file meanwhile.
using FileChange = std::function<std::optional<std::string>(const std::string& content)>;

// Reads, changes and replaces the file while it holds an exclusive lock, so that two running copies changing
// the file at once never lose each other's change. The new content goes to a temporary file in the same folder,
// which is flushed to disk and then takes the old file's place in one step; the old file's permission bits are
// kept. Throws WriteError, with the file as it was, when the lock is not had within the timeout, when the file
// is read-only, not a regular file, larger than kMaxDataFileBytes or unreadable, or cannot be replaced; the
// folder is never created. No temporary file outlives the call, and one left by a crash goes at the next.
// A symbolic link at the path is not followed but fails: pass the path through WriteTarget first.
void RewriteFile(const std::filesystem::path& path, const FileChange& change,
                 std::chrono::milliseconds lockTimeout = kFileLockTimeout,
                 NewFileAccess newFile = NewFileAccess::Shared);

}  // namespace nagitori
