#include "launcher/PathHelpers.h"

#include <string_view>

#include "common/Error.h"

namespace nagitori {
namespace {

// How this system writes paths.
struct PathRules {
    std::string_view separators;
    bool drives;  // "C:" at the start names a drive
    bool controlCharactersInvalid;
    std::string_view invalidCharacters;
};

#ifdef _WIN32
constexpr PathRules kRules{"\\/", true, true, "\"<>|"};
#else
// NUL is the only byte a POSIX name cannot hold.
constexpr PathRules kRules{"/", false, false, std::string_view("\0", 1)};
#endif

bool IsSeparator(char c) {
    return kRules.separators.find(c) != std::string_view::npos;
}

// Length of a leading drive ("C:"), or 0.
std::size_t DriveLength(std::string_view path) {
    const bool letter = path.size() >= 2 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return kRules.drives && letter && path[1] == ':' ? 2 : 0;
}

// Length of the folder part: up to and including the last separator, else the drive.
std::size_t FolderPartLength(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsSeparator(path[i - 1])) {
            return i;
        }
    }
    return DriveLength(path);
}

bool IsInvalidPathCharacter(char c) {
    return (kRules.controlCharactersInvalid && static_cast<unsigned char>(c) < 0x20) ||
           kRules.invalidCharacters.find(c) != std::string_view::npos;
}

}  // namespace

std::string FileNameWithoutExtension(const std::string& path) {
    for (char c : path) {
        if (IsInvalidPathCharacter(c)) {
            throw Error(kInvalidPathCharacters);
        }
    }
    const std::string_view name = std::string_view(path).substr(FolderPartLength(path));
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return std::string(name);
    }
    return std::string(name.substr(0, dot));
}

std::string FolderOfPath(const std::string& path) {
    const std::string_view text(path);
    const std::size_t drive = DriveLength(text);
    const std::size_t part = FolderPartLength(text);
    if (part <= drive) {
        return std::string(text.substr(0, part));
    }
    // Drop the separator and any doubled ones before it, but never the one that makes a root.
    std::size_t end = part - 1;
    while (end > drive && IsSeparator(text[end - 1])) {
        --end;
    }
    if (end == drive) {
        ++end;
    }
    return std::string(text.substr(0, end));
}

std::string FolderPartOfPath(const std::string& path) {
    return path.substr(0, FolderPartLength(path));
}

}  // namespace nagitori
