#include "runfile/InputHistory.h"

#include <optional>
#include <utility>

#include "common/Error.h"
#include "runfile/HistoryFileAccess.h"

namespace nagitori {
namespace history {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
            high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
        } else {
            return false;
        }
        if (text.size() - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            const unsigned char from = k == 1 ? low : 0x80;
            const unsigned char to = k == 1 ? high : 0xBF;
            if (next < from || next > to) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

bool SplitEntries(std::string_view content, std::vector<std::string>& entries) {
    if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        content.remove_prefix(kByteOrderMark.size());
    }
    if (!IsUtf8(content)) {
        return false;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c != '\r' && c != '\n') {
            continue;
        }
        entries.emplace_back(content.substr(start, i - start));
        if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < content.size()) {
        entries.emplace_back(content.substr(start));
    }
    return true;
}

}  // namespace history

InputHistory::InputHistory(std::filesystem::path path, std::chrono::milliseconds lockTimeout)
    : path_(std::move(path)), lockTimeout_(lockTimeout) {}

std::vector<std::string> InputHistory::Load() const {
    const std::optional<std::string> content = history::ReadLocked(path_, lockTimeout_);
    std::vector<std::string> entries;
    if (content && !history::SplitEntries(*content, entries)) {
        throw Error(file_errors::CannotRead(path_, file_errors::kNotUtf8));
    }
    return entries;
}

void InputHistory::Add(const std::string& entry) const {
    if (entry.empty()) {
        return;
    }
    if (entry.find_first_of(history::kLineBreak) != std::string::npos) {
        throw WriteError(file_errors::CannotWrite(path_, file_errors::kLineBreak));
    }
    if (!history::IsUtf8(entry)) {
        throw WriteError(file_errors::CannotWrite(path_, file_errors::kNotUtf8));
    }
    history::AppendLocked(path_, entry, lockTimeout_);
}

void InputHistory::Delete() const {
    history::RemoveFile(path_);
}

}  // namespace nagitori
