#pragma once

#include <sys/types.h>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace nagitori::test {

// Writes an executable #!/bin/sh script that records, one per line, its working folder, its parent's process
// id, its own "$0", its number of arguments and each argument, into `marker` (written whole, then renamed in).
void WriteMarkerScript(const std::filesystem::path& script, const std::filesystem::path& marker);

// The lines of `file` once it exists; nullopt when it has not appeared within `timeout`.
std::optional<std::vector<std::string>> WaitForLines(const std::filesystem::path& file,
                                                     std::chrono::milliseconds timeout = std::chrono::seconds(10));

// What a marker script wrote: its parent apart, then its folder, "$0", "$#" and the arguments.
struct Marker {
    pid_t parent = 0;
    std::vector<std::string> lines;
};
std::optional<Marker> WaitForMarker(const std::filesystem::path& file);

// The lines a marker script writes when started as `program` in `folder` with `arguments`.
std::vector<std::string> MarkerLines(const std::filesystem::path& folder, const std::filesystem::path& program,
                                     const std::vector<std::string>& arguments);

// The processes whose parent is this process, zombies included.
std::vector<pid_t> ChildrenOfThisProcess();

// Iterates GLib's default main context until `done` holds or `timeout` passes; returns `done()`.
bool IterateMainContextUntil(const std::function<bool()>& done,
                             std::chrono::milliseconds timeout = std::chrono::seconds(10));

// A desktop database of our own for GIO, set up once per process before GIO reads any. It holds:
// - "nagitori-test-handler.desktop": `handler` (a marker script writing `handlerMarker`), the default for
//   text/plain, folders and the scheme "nagitori-test", with the icon "nagitori-test-handler";
// - "nagitori-test-browser.desktop": `browser` (writing `browserMarker`), the default for http through
//   mimeapps.list;
// - "nagitori-test-app.desktop": `app` (writing `appMarker`), started as "app --from-desktop %f", with the icon
//   "nagitori-test-app";
// - "nagitori-test-env.desktop": `app` started through env;
// - "nagitori-test-hidden.desktop" (Hidden) and "nagitori-test-tryexec.desktop" (its TryExec program is missing),
//   which GIO does not offer, and "nagitori-test-env-missing.desktop", which GIO offers although the program it
//   starts through env is missing.
struct IsolatedDesktop {
    std::filesystem::path handler;
    std::filesystem::path handlerMarker;
    std::filesystem::path browser;
    std::filesystem::path browserMarker;
    std::filesystem::path app;
    std::filesystem::path appMarker;
    bool isolated = false;  // false: GIO had read the real desktop database before
};
const IsolatedDesktop& IsolateDesktopDatabase();

}  // namespace nagitori::test
