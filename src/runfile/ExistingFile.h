#pragma once

#include <string>

namespace nagitori {

// Whether the text, taken exactly as typed, names an existing regular file: a relative path counts
// from the process's current folder, nothing is expanded, a folder is no file and a link counts by
// its target. A text holding a NUL byte names nothing.
bool IsExistingFile(const std::string& path);

}  // namespace nagitori
