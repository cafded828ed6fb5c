#pragma once

#include <filesystem>
#include <string>

#include "common/Utf8Path.h"

namespace nagitori::test {

// A fresh folder for one test, removed with everything in it when the test ends.
class TempDir {
public:
    // In the system's temporary folder, or in the given one.
    explicit TempDir(const std::filesystem::path& base = std::filesystem::temp_directory_path());
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The name is UTF-8, as everywhere in the program.
    std::filesystem::path operator/(const std::string& name) const { return path_ / PathFromUtf8(name); }

private:
    std::filesystem::path path_;
};

// Whole-file helpers for fixtures: bytes in, bytes out.
std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace nagitori::test
