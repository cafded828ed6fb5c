#include "runfile/ExistingFile.h"

#include <filesystem>
#include <system_error>

#include "common/Utf8Path.h"

namespace nagitori {

bool IsExistingFile(const std::string& path) {
    // The operating system would stop at a NUL and test a shorter path than the one shown.
    if (path.empty() || path.find('\0') != std::string::npos) {
        return false;
    }
    std::error_code error;
    return std::filesystem::is_regular_file(PathFromUtf8(path), error);
}

}  // namespace nagitori
