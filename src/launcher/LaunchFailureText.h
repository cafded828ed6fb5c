#pragma once

#include <string>

namespace nagitori {

// The text of the box shown when the shell refused a registered program: a headline, and for the
// results the user can act on a line naming the file as stored.
std::string LaunchFailureText(int result, const std::string& filePath);

}  // namespace nagitori
