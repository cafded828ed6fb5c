#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace nagitori::posix {

// The environment variables the POSIX backend reads, and the program's own path, taken once so that tests can
// hand in their own. An unset variable reads as empty text.
struct PosixEnvironment {
    // Read at start: once the file is replaced (an upgrade), /proc/self/exe names "... (deleted)".
    std::filesystem::path executable;
    std::string path;
    std::string home;
    std::string xdgConfigHome;
    std::string xdgConfigDirs;
    std::string display;
    std::string xauthority;
    std::string waylandDisplay;
    std::string xdgRuntimeDir;
    std::string xdgCurrentDesktop;  // "GNOME", "KDE", "ubuntu:GNOME", ...

    // The running process's; an unset PATH becomes the system's default search path.
    static PosixEnvironment FromProcess();

    // The first executable regular file of that name in a folder of `path`, as an absolute path.
    // An empty folder in a non-empty `path` stands for the current folder, as the shells read it.
    std::optional<std::filesystem::path> FindProgram(const std::string& name) const;
};

}  // namespace nagitori::posix
