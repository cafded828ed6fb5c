#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace nagitori::posix {

// The GLib/GIO half of the shell: every function returns a shell result (kShellSuccess or a failure code).

// Splits parameters into arguments as a POSIX shell would, without expansion; blank text gives no arguments,
// text that does not parse (an unclosed quote) gives nullopt.
std::optional<std::vector<std::string>> SplitParameters(const std::string& parameters);

// Starts argv[0] (an absolute path) in `directory` (empty: ours). Detached: the started program is not our
// child, so it can never become a zombie and outlives us. Failures of exec come back as results.
int SpawnDetached(const std::vector<std::string>& argv, const std::string& directory);

// Starts argv[0] as our own child, for programs that refuse an orphaned parent (pkexec). A GLib child watch
// on the default main context reaps it, so that context must be iterated (Qt's GLib event dispatcher does).
int SpawnWatched(const std::vector<std::string>& argv, const std::string& directory);

// Opens a file or folder with the desktop's default application for its content type.
int OpenWithDefaultApplication(const std::filesystem::path& path);

// Opens a URI with the desktop's default handler for its scheme.
int OpenWithSchemeHandler(const std::string& uri, const std::string& scheme);

}  // namespace nagitori::posix
