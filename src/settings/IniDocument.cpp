#include "settings/IniDocument.h"

#include <cstddef>
#include <cstring>
#include <utility>
#include <vector>

#include "common/Error.h"
#include "settings/ProfileText.h"

namespace nagitori {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// The name of a section header line, or nothing when the line is no header. The name runs to the last
// "]" so that any name without a line break reads back as written.
std::optional<std::string_view> HeaderName(std::string_view content) {
    std::size_t first = 0;
    while (first < content.size() && IsProfileBlank(content[first])) {
        ++first;
    }
    if (first == content.size() || content[first] != '[') {
        return std::nullopt;
    }
    std::string_view text = content.substr(first + 1);
    std::size_t close = text.rfind(']');
    if (close != std::string_view::npos) {
        text = text.substr(0, close);
    }
    return TrimProfileBlanks(text);
}

std::string DecodeValue(std::string_view raw) {
    std::string_view value = TrimProfileBlanks(raw);
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

// Quotes a value that the reader would otherwise trim or unquote.
std::string EncodeValue(std::string_view value) {
    if (value.empty()) {
        return {};
    }
    bool needsQuotes = IsProfileBlank(value.front()) || IsProfileBlank(value.back()) ||
                       (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front());
    if (!needsQuotes) {
        return std::string(value);
    }
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted += '"';
    quoted += value;
    quoted += '"';
    return quoted;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

void CheckName(std::string_view name, bool isKey) {
    bool readsBack = !name.empty() && !HasLineBreak(name) && TrimProfileBlanks(name).size() == name.size();
    if (isKey) {
        readsBack = readsBack && name.find('=') == std::string_view::npos && name.front() != '[';
    }
    if (!readsBack) {
        throw WriteError("セクション名またはキー名が不正です: " + std::string(name));
    }
}

struct Line {
    std::size_t begin;
    std::size_t contentEnd;  // where the line end starts
    std::size_t end;         // after the line end
};

// Cuts text into lines at LF, CR LF and CR. memchr finds the next CR and the next LF separately, and each
// is searched again only once passed, so a file with one kind of line end is scanned once per kind. The
// scanner only moves forward: SeekTo keeps what was found, so that jumping from header to header stays
// linear even when one kind of line end never occurs.
class LineScanner {
public:
    explicit LineScanner(std::string_view text) : text_(text) {}

    void SeekTo(std::size_t begin) { begin_ = begin; }

    bool Next(Line& line) {
        if (begin_ >= text_.size()) {
            return false;
        }
        if (nextCr_ == kUnknown || nextCr_ < begin_) {
            nextCr_ = Find('\r');
        }
        if (nextLf_ == kUnknown || nextLf_ < begin_) {
            nextLf_ = Find('\n');
        }
        std::size_t contentEnd = nextCr_ < nextLf_ ? nextCr_ : nextLf_;
        std::size_t end = contentEnd;
        if (contentEnd < text_.size()) {
            end += text_[contentEnd] == '\r' && contentEnd + 1 < text_.size() && text_[contentEnd + 1] == '\n' ? 2 : 1;
        }
        line = Line{begin_, contentEnd, end};
        begin_ = end;
        return true;
    }

private:
    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);

    std::size_t Find(char c) const {
        const void* hit = std::memchr(text_.data() + begin_, c, text_.size() - begin_);
        return hit != nullptr ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data()) : text_.size();
    }

    std::string_view text_;
    std::size_t begin_ = 0;
    std::size_t nextCr_ = kUnknown;
    std::size_t nextLf_ = kUnknown;
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    LineScanner scanner(text);
    Line line{};
    while (scanner.Next(line)) {
        lines.push_back(line);
    }
    return lines;
}

std::string_view Content(std::string_view text, const Line& line) {
    return text.substr(line.begin, line.contentEnd - line.begin);
}

bool KeyMatches(std::string_view content, std::size_t equals, std::string_view key) {
    return equals != std::string_view::npos &&
           EqualsIgnoringAsciiCase(TrimProfileBlanks(content.substr(0, equals)), key);
}

// The most frequent line end of the file for new lines; LF on a tie, the platform's own for a file
// without any.
std::string_view NewLineEnd(std::string_view text, const std::vector<Line>& lines) {
    std::size_t lf = 0;
    std::size_t crlf = 0;
    std::size_t cr = 0;
    for (const Line& line : lines) {
        std::size_t length = line.end - line.contentEnd;
        if (length == 2) {
            ++crlf;
        } else if (length == 1) {
            ++(text[line.contentEnd] == '\n' ? lf : cr);
        }
    }
    if (crlf > lf && crlf >= cr) {
        return "\r\n";
    }
    if (cr > lf && cr > crlf) {
        return "\r";
    }
    if (lf + crlf + cr == 0) {
        return kNewFileLineEnd;
    }
    return "\n";
}

}  // namespace

IniDocument::IniDocument(std::string bytes) : text_(std::move(bytes)) {
    if (text_.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0) {
        byteOrderMark_ = true;
        text_.erase(0, kByteOrderMark.size());
    }
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
    // Only header lines matter until the section is found, and a header starts with "[": memchr jumps from
    // one "[" to the next, and a "[" counts when nothing but blanks stands before it on its line.
    const std::string_view text = text_;
    LineScanner scanner(text);
    std::size_t from = 0;
    while (from < text.size()) {
        const void* hit = std::memchr(text.data() + from, '[', text.size() - from);
        if (hit == nullptr) {
            return std::nullopt;
        }
        const std::size_t bracket = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        std::size_t lineBegin = bracket;
        while (lineBegin > 0 && IsProfileBlank(text[lineBegin - 1]) && !IsLineBreak(text[lineBegin - 1])) {
            --lineBegin;
        }
        from = bracket + 1;
        if (lineBegin > 0 && !IsLineBreak(text[lineBegin - 1])) {
            continue;
        }
        scanner.SeekTo(lineBegin);
        Line line{};
        scanner.Next(line);
        if (!EqualsIgnoringAsciiCase(HeaderName(Content(text, line)).value_or(""), section)) {
            from = line.end;
            continue;
        }
        // The first section of the name ends at the next header: later lines cannot change the answer.
        while (scanner.Next(line)) {
            std::string_view content = Content(text, line);
            if (HeaderName(content)) {
                return std::nullopt;
            }
            std::size_t equals = content.find('=');
            if (KeyMatches(content, equals, key)) {
                return DecodeValue(content.substr(equals + 1));
            }
        }
        return std::nullopt;
    }
    return std::nullopt;
}

bool IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    CheckName(section, false);
    CheckName(key, true);
    if (HasLineBreak(value)) {
        throw WriteError("改行を含む値は書き込めません。");
    }
    const std::vector<Line> lines = SplitLines(text_);
    const std::string_view lineEnd = NewLineEnd(text_, lines);
    const std::string encoded = EncodeValue(value);
    std::string keyLine;
    keyLine.reserve(key.size() + 1 + encoded.size() + lineEnd.size());
    keyLine.append(key).append("=").append(encoded).append(lineEnd);

    std::size_t header = 0;
    while (header < lines.size()) {
        std::optional<std::string_view> name = HeaderName(Content(text_, lines[header]));
        if (name && EqualsIgnoringAsciiCase(*name, section)) {
            break;
        }
        ++header;
    }
    if (header == lines.size()) {
        if (!lines.empty() && lines.back().contentEnd == lines.back().end) {
            text_ += lineEnd;
        }
        text_.append("[").append(section).append("]").append(lineEnd).append(keyLine);
        return true;
    }

    std::size_t lastKeyLine = header;
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
        std::string_view content = Content(text_, lines[i]);
        if (HeaderName(content)) {
            break;
        }
        std::size_t equals = content.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        lastKeyLine = i;
        if (!KeyMatches(content, equals, key)) {
            continue;
        }
        if (DecodeValue(content.substr(equals + 1)) == value) {
            return false;
        }
        // Keep the key as the file spells it, and the blanks after "=" unless the value is now empty.
        std::size_t valueStart = equals + 1;
        if (!encoded.empty()) {
            while (valueStart < content.size() && IsProfileBlank(content[valueStart])) {
                ++valueStart;
            }
        }
        text_.replace(lines[i].begin + valueStart, content.size() - valueStart, encoded);
        return true;
    }

    // After the section's last key, so that blank lines and comments before the next section stay there.
    const Line& anchor = lines[lastKeyLine];
    if (anchor.contentEnd == anchor.end) {
        keyLine.insert(0, lineEnd);
    }
    text_.insert(anchor.end, keyLine);
    return true;
}

bool IniDocument::EraseSection(std::string_view section) {
    std::string kept;
    bool erasing = false;
    bool erased = false;
    LineScanner scanner(text_);
    Line line{};
    while (scanner.Next(line)) {
        if (std::optional<std::string_view> name = HeaderName(Content(text_, line))) {
            erasing = EqualsIgnoringAsciiCase(*name, section);
            if (erasing && !erased) {
                erased = true;
                kept.reserve(text_.size());
                kept.append(text_, 0, line.begin);
            }
        }
        if (erased && !erasing) {
            kept.append(text_, line.begin, line.end - line.begin);
        }
    }
    if (!erased) {
        return false;
    }
    text_ = std::move(kept);
    return true;
}

std::string IniDocument::Bytes() const {
    if (!byteOrderMark_) {
        return text_;
    }
    std::string bytes;
    bytes.reserve(kByteOrderMark.size() + text_.size());
    bytes.append(kByteOrderMark).append(text_);
    return bytes;
}

}  // namespace nagitori
