#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "settings/FileAccess.h"
#include "settings/IniDocument.h"

namespace nagitori {

// Access to one INI file. Every call opens, reads or rewrites, and closes the file: nothing is cached, so
// each read sees the last write of anyone. Creating the object touches nothing.
//
// Reads never fail: a missing, unreadable or oversized file, one in UTF-16, and a missing section or key give
// the default. Writes either complete or throw WriteError, and never leave a half-written file: the file is
// replaced in one step, under a lock that keeps two running copies from losing each other's keys. A read-only
// file is never replaced. Writing the value a key already holds leaves the file untouched. The folder is never
// created. A write through a symbolic link replaces the file the link leads to and keeps the link; root writes
// through its own links only.
class ProfileFile {
public:
    // The longest text a read returns, in UTF-16 code units.
    static constexpr std::size_t kMaxValueUnits = 2047;

    // newFile: who may read the file when a write creates it.
    explicit ProfileFile(std::filesystem::path path, NewFileAccess newFile = NewFileAccess::Shared)
        : path_(std::move(path)), newFile_(newFile) {}

    const std::filesystem::path& Path() const { return path_; }

    // A longer value is cut to its first kMaxValueUnits code units, never inside a character.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;
    // Any integer other than 0 is true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    // Succeeds when the section or the file does not exist.
    void EraseSection(std::string_view section);

    // Applies several edits to the file's content in memory and replaces the file once. When the edit
    // throws, nothing is written.
    void Update(const std::function<void(IniDocument&)>& edit);

private:
    std::filesystem::path path_;
    NewFileAccess newFile_;
};

}  // namespace nagitori
