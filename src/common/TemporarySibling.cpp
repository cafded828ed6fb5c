#include "common/TemporarySibling.h"

#include <cstdint>
#include <random>
#include <string>

namespace nagitori {

std::filesystem::path TemporarySibling(const std::filesystem::path& path) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::random_device device;
    std::uint32_t bits = device();
    std::string suffix = ".";
    for (int i = 0; i < 8; ++i) {
        suffix += kHex[bits & 0xF];
        bits >>= 4;
    }
    std::filesystem::path name = ".";
    name += path.filename();
    name += suffix + ".tmp";
    return path.parent_path() / name;
}

std::filesystem::path ReplacementSibling(const std::filesystem::path& path) {
    std::filesystem::path name = ".";
    name += path.filename();
    name += ".tmp";
    return path.parent_path() / name;
}

}  // namespace nagitori
