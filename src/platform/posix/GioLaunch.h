#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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
    // The same for the text of a desktop file that the caller read itself.
    static std::optional<DesktopApp> FromEntryText(const std::string& text);
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

    // Starts it once with `words` as typed, in place of the files or URIs its command line takes, or after it
    // when it takes none; in `directory` unless its desktop file names a folder of its own. Detached, as
    // SpawnDetached.
    int Launch(const std::vector<std::string>& words, const std::string& directory) const;
    // Starts it with this one URI, exactly as given.
    int OpenUri(const std::string& uri) const;
    // Starts it with this document, handed over as its command line asks for files (a path or a URI).
    int OpenDocument(const std::filesystem::path& document) const;

    // The command line Launch would run, for starting it through another program; empty when it has none.
    std::vector<std::string> CommandLine(const std::vector<std::string>& words) const;
    // The folder its desktop file says to start it in; empty when it names none.
    std::string OwnFolder() const;
    // False when its command runs a program through env and that program is not installed; GIO checks only
    // the first word.
    bool WrappedProgramInstalled() const;

private:
    explicit DesktopApp(void* info);
    int LaunchUris(const std::vector<std::string>& uris, const std::string& directory) const;
    std::shared_ptr<void> info_;  // GAppInfo
};

// The icon of a content type ("folder" for inode/directory, "text-plain", ...); empty when there is none.
IconReference ContentTypeIcon(const std::string& contentType);

// The content type that a file's name and its first bytes suggest.
std::string GuessContentType(const std::filesystem::path& file, std::string_view head);

// The content type of a file or folder ("text/plain", "inode/directory"); a failure code when it cannot be read.
struct ContentType {
    std::string type;
    int failure = 0;
};
ContentType ContentTypeOf(const std::filesystem::path& path);

// Whether the content type is text that any pager can show.
bool IsText(const std::string& contentType);

}  // namespace nagitori::posix
