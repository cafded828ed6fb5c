#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nagitori::posix {

// A Linux program that stands in for a Windows command, with the arguments it always gets first.
struct AppPathCandidate {
    std::string program;
    std::vector<std::string> arguments;
};

// A Windows command ("cmd.exe") or URI scheme with its colon ("ms-settings:") and its stand-ins, best first.
struct AppPathEntry {
    std::string name;
    std::vector<AppPathCandidate> candidates;
};

// This platform's equivalent of the App Paths registry and the URI scheme registrations.
using AppPaths = std::vector<AppPathEntry>;

// The table the program ships.
const AppPaths& DefaultAppPaths();

// The entry whose name equals `name` without regard to ASCII case; null when there is none.
const AppPathEntry* FindAppPath(const AppPaths& table, std::string_view name);

}  // namespace nagitori::posix
