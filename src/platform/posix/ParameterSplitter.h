#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nagitori::posix {

// Splits typed parameters into program arguments without a shell: blanks (space, tab) separate words;
// '...' groups literally; "..." groups, a backslash inside escaping only '"' and '\'; outside quotes a backslash
// escapes the next character; a quote without a closing partner is an ordinary character. Nothing is expanded
// and nothing is a comment, so every typed character reaches the program. It never fails.
std::vector<std::string> SplitParameters(std::string_view parameters);

}  // namespace nagitori::posix
