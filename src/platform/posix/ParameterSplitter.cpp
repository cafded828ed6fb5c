#include "platform/posix/ParameterSplitter.h"

namespace nagitori::posix {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The index of the quote that closes the one at `open`, or npos when it has no partner.
std::size_t ClosingQuote(std::string_view text, std::size_t open) {
    const char quote = text[open];
    for (std::size_t i = open + 1; i < text.size(); ++i) {
        if (quote == '"' && text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\')) {
            ++i;
        } else if (text[i] == quote) {
            return i;
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::vector<std::string> SplitParameters(std::string_view parameters) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;  // a pair of quotes makes a word even when it adds no character
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const char c = parameters[i];
        if (IsBlank(c)) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            continue;
        }
        inWord = true;
        if (c == '\\' && i + 1 < parameters.size()) {
            word += parameters[++i];
            continue;
        }
        const std::size_t close = c == '\'' || c == '"' ? ClosingQuote(parameters, i) : std::string_view::npos;
        if (close == std::string_view::npos) {
            word += c;
            continue;
        }
        for (std::size_t j = i + 1; j < close; ++j) {
            if (c == '"' && parameters[j] == '\\' && (parameters[j + 1] == '"' || parameters[j + 1] == '\\')) {
                ++j;
            }
            word += parameters[j];
        }
        i = close;
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

}  // namespace nagitori::posix
