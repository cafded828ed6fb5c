#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/System.h"

namespace nagitori::posix {

// The GLib/GIO half of the shell: every function returns a shell result (kShellSuccess or a failure code).

// Starts argv[0] (an absolute path) in `directory` (empty: ours). Detached: the started program is not our
// child, so it can never become a zombie and outlives us. Failures of exec come back as results.
int SpawnDetached(const std::vector<std::string>& argv, const std::string& directory);

// Starts argv[0] as our own child and hands back its process id; the caller must reap it (ReapLater).
int SpawnChild(const std::vector<std::string>& argv, const std::string& directory, pid_t& child);

// Reaps `child` whenever it ends, through a GLib child watch on the default main context.
void ReapLater(pid_t child);

// An application as GIO knows it, from a desktop file or the user's defaults. GIO stays inside this file.
class DesktopApp {
public:
    // Null when GIO knows no such application (missing, Hidden, or its TryExec program is not installed).
    static std::optional<DesktopApp> FromId(const std::string& id);
    // Null when GIO refuses the file.
    static std::optional<DesktopApp> FromFile(const std::filesystem::path& file);
    static std::optional<DesktopApp> DefaultForType(const std::string& contentType);
    static std::optional<DesktopApp> DefaultForScheme(const std::string& scheme);
    // Every application for the content type, the default first.
    static std::vector<DesktopApp> AllForType(const std::string& contentType);
    // The installed application whose command runs this program, found through GIO's search index.
    static std::optional<DesktopApp> RunningProgram(const std::filesystem::path& program);

    // Its name for people, and the program it runs: "Text Editor (gnome-text-editor)".
    std::string Description() const;
    // Whether its desktop file names this content type itself (not only a parent of it).
    bool Supports(const std::string& contentType) const;
    IconReference Icon() const;
    // Whether it runs in a terminal (Terminal=true), which GLib opens only where it knows one.
    bool NeedsTerminal() const;

    // Starts it with `arguments` as its files or URIs (relative paths count from `directory`), in `directory`
    // unless its desktop file names a folder of its own. Detached, as SpawnDetached.
    int Launch(const std::vector<std::string>& arguments, const std::string& directory) const;
    // Starts it with this one URI, exactly as given.
    int OpenUri(const std::string& uri) const;

    // The command line Launch would run, for starting it through another program; empty when it has none.
    std::vector<std::string> CommandLine(const std::vector<std::string>& arguments, const std::string& directory) const;

private:
    explicit DesktopApp(void* info);
    int LaunchUris(const std::vector<std::string>& uris, const std::string& directory) const;
    std::shared_ptr<void> info_;  // GAppInfo
};

// The icon of a file's content type ("folder", "text-plain", ...); empty when the file cannot be read.
IconReference ContentTypeIcon(const std::filesystem::path& file);

// The content type of a file or folder ("text/plain", "inode/directory"); a failure code when it cannot be read.
struct ContentType {
    std::string type;
    int failure = 0;
};
ContentType ContentTypeOf(const std::filesystem::path& path);

// Whether the content type is text that any pager can show.
bool IsText(const std::string& contentType);

}  // namespace nagitori::posix
