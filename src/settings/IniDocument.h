#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nagitori {

// The line end of a file that has none yet: the platform's own.
#ifdef _WIN32
inline constexpr std::string_view kNewFileLineEnd = "\r\n";
#else
inline constexpr std::string_view kNewFileLineEnd = "\n";
#endif

// The bytes of one INI file, read and edited in memory. Every line keeps its exact bytes and line end,
// so a line that no edit touches is written back unchanged.
//
// Reading: sections and keys match without regard to ASCII case, blanks around names and values are
// dropped, and one pair of enclosing quotes ("…" or '…') is removed from a value. The first section of a
// name and the first key of a name in it win. Lines before the first section belong to no section.
class IniDocument {
public:
    IniDocument() = default;
    // A leading UTF-8 byte-order mark is skipped, and written back by Bytes().
    explicit IniDocument(std::string bytes);

    // The value as read, or nothing when the section or key is missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // Stores the value so that Value() returns it exactly: replaced in place, or added at the end of its
    // section, or in a new section at the end. Returns false when the key already held the value.
    // Throws WriteError for a value holding CR or LF and for a name that would not read back as given.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);

    // Removes every section of that name: its header and all lines up to the next section.
    // Returns false when there was none.
    bool EraseSection(std::string_view section);

    std::string Bytes() const;

private:
    bool byteOrderMark_ = false;
    std::string text_;
};

}  // namespace nagitori
