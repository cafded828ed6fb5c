#include "settings/ProfileFile.h"

#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "common/Error.h"
#include "common/FileErrorText.h"
#include "settings/FileAccess.h"
#include "settings/ProfileInteger.h"

namespace nagitori {
namespace {

// The length of the UTF-8 character at the start of text, and how many UTF-16 code units it takes.
// A byte that starts no valid sequence counts as one character of one unit.
void MeasureCharacter(std::string_view text, std::size_t& bytes, std::size_t& units) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    }
    bool complete = length <= text.size();
    for (std::size_t i = 1; complete && i < length; ++i) {
        complete = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    }
    if (!complete) {
        length = 1;
    }
    bytes = length;
    units = length == 4 ? 2 : 1;
}

std::string_view CutToUtf16Units(std::string_view text, std::size_t maxUnits) {
    // Every character takes at most as many units as bytes, so a short text needs no walk.
    if (text.size() <= maxUnits) {
        return text;
    }
    std::size_t pos = 0;
    std::size_t units = 0;
    while (pos < text.size()) {
        std::size_t characterBytes = 0;
        std::size_t characterUnits = 0;
        MeasureCharacter(text.substr(pos), characterBytes, characterUnits);
        if (units + characterUnits > maxUnits) {
            break;
        }
        units += characterUnits;
        pos += characterBytes;
    }
    return text.substr(0, pos);
}

// Text in UTF-16 (or UTF-32) is no profile text of ours: it reads as missing and is never rewritten, as our
// UTF-8 lines appended to it would spoil it.
bool HasUtf16ByteOrderMark(std::string_view bytes) {
    return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

}  // namespace

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    std::error_code error;
    std::optional<std::string> bytes = ReadWholeFile(path_, error);
    if (!bytes || HasUtf16ByteOrderMark(*bytes)) {
        return std::string(defaultValue);
    }
    std::optional<std::string> value = IniDocument(std::move(*bytes)).Value(section, key);
    if (!value) {
        return std::string(defaultValue);
    }
    value->resize(CutToUtf16Units(*value, kMaxValueUnits).size());
    return std::move(*value);
}

std::int32_t ProfileFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
    return ParseProfileInteger(ReadString(section, key, ""), defaultValue);
}

bool ProfileFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Update([&](IniDocument& document) { document.SetValue(section, key, value); });
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void ProfileFile::EraseSection(std::string_view section) {
    Update([&](IniDocument& document) { document.EraseSection(section); });
}

void ProfileFile::Update(const std::function<void(IniDocument&)>& edit) {
    const std::filesystem::path target = WriteTarget(path_);
    const FileChange change = [&](const std::string& bytes) -> std::optional<std::string> {
        if (HasUtf16ByteOrderMark(bytes)) {
            throw WriteError(file_errors::CannotWrite(target, file_errors::kNotUtf8));
        }
        IniDocument document(bytes);
        edit(document);
        std::string updated = document.Bytes();
        if (updated == bytes) {
            return std::nullopt;
        }
        return updated;
    };
    RewriteFile(target, change, kFileLockTimeout, newFile_);
}

}  // namespace nagitori
