#pragma once

#include <filesystem>

namespace nagitori {

// A fresh hidden name in the same folder as `path`, ".name.<8 hex digits>.tmp", for a file written whole
// before it takes the place of `path`. Callers create it exclusively and try again on a clash.
std::filesystem::path TemporarySibling(const std::filesystem::path& path);

// The one hidden name, ".name.tmp" in the same folder, under which a writer that holds the file's lock puts the
// new content before it takes the place of `path`. Only the lock holder uses it, so whatever stands there when
// the lock is taken is left over from a crash and may go.
std::filesystem::path ReplacementSibling(const std::filesystem::path& path);

}  // namespace nagitori
