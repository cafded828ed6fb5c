#pragma once

#include <filesystem>

namespace nagitori {

// A fresh hidden name in the same folder as `path`, ".name.<8 hex digits>.tmp", for a file written whole
// before it takes the place of `path`. Callers create it exclusively and try again on a clash.
std::filesystem::path TemporarySibling(const std::filesystem::path& path);

}  // namespace nagitori
