#include "platform/posix/PosixSystem.h"

#include "platform/posix/AutostartRunKey.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/posix/GioLaunch.h"
#include "platform/posix/ShellResults.h"

namespace nagitori::posix {

namespace {

bool IsAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsRunAs(const std::string& verb) {
    static constexpr std::string_view kRunAs = "runas";
    if (verb.size() != kRunAs.size()) {
        return false;
    }
    for (std::size_t i = 0; i < verb.size(); ++i) {
        const char c = verb[i] >= 'A' && verb[i] <= 'Z' ? static_cast<char>(verb[i] - 'A' + 'a') : verb[i];
        if (c != kRunAs[i]) {
            return false;
        }
    }
    return true;
}

// The scheme of a URI: two or more characters before the first colon, so that "C:\x" is a path.
std::optional<std::string> UriScheme(const std::string& target) {
    const std::size_t colon = target.find(':');
    if (colon == std::string::npos || colon < 2 || !IsAsciiAlpha(target[0])) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < colon; ++i) {
        const char c = target[i];
        if (!IsAsciiAlpha(c) && !IsAsciiDigit(c) && c != '+' && c != '-' && c != '.') {
            return std::nullopt;
        }
    }
    return target.substr(0, colon);
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

int StatFailure(int error) {
    switch (error) {
        case EACCES: return kShellAccessDenied;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP: return kShellPathNotFound;
        default: return kShellFileNotFound;
    }
}

enum class Format { Program, Other, Unreadable };

// What the kernel would run: ELF or a "#!" script. GLib would hand anything else to /bin/sh, which is no way
// to open a document that merely has its execute bits set.
Format ExecutableFormat(const std::filesystem::path& file) {
    const int descriptor = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0) {
        return Format::Unreadable;
    }
    char head[4] = {};
    const ssize_t length = read(descriptor, head, sizeof head);
    close(descriptor);
    if (length < 0) {
        return Format::Unreadable;
    }
    static constexpr std::string_view kElfMagic = "\177ELF";
    const std::string_view bytes(head, static_cast<std::size_t>(length));
    return bytes.substr(0, 2) == "#!" || bytes == kElfMagic ? Format::Program : Format::Other;
}

}  // namespace

PosixSystem::PosixSystem(PosixEnvironment environment, AppPaths appPaths, AdminCheck isAdmin)
    : environment_(std::move(environment)), appPaths_(std::move(appPaths)), isAdmin_(std::move(isAdmin)) {
    if (!isAdmin_) {
        isAdmin_ = [] { return geteuid() == 0; };
    }
}

bool PosixSystem::IsUserAnAdmin() {
    return isAdmin_();
}

std::filesystem::path PosixSystem::AppDataFolder() {
    // A relative folder would move with the current folder, so it counts as unset.
    const std::filesystem::path configHome = environment_.xdgConfigHome;
    if (configHome.is_absolute()) {
        return configHome;
    }
    const std::filesystem::path home = environment_.home;
    return home.is_absolute() ? home / ".config" : std::filesystem::path();
}

std::filesystem::path PosixSystem::ExecutablePath() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}

int PosixSystem::OsMajorVersion() {
    return 10;
}

std::unique_ptr<RunKey> PosixSystem::OpenRunKey() {
    return OpenAutostartRunKey(SystemAutostartFolder(environment_.xdgConfigDirs));
}

int PosixSystem::ShellExecute(const LaunchRequest& request) {
    // The show command is ignored: X11 and Wayland give no portable way to size another program's first window.
    const std::optional<std::vector<std::string>> arguments = SplitParameters(request.parameters);
    if (!arguments) {
        return kShellInvalidParameters;
    }
    if (!request.directory.empty() && !IsFolder(request.directory)) {
        return kShellPathNotFound;
    }
    const Start start{request.directory, IsRunAs(request.verb) && !IsUserAnAdmin()};
    const std::string& target = request.target;
    if (target.empty()) {
        return kShellFileNotFound;
    }
    if (const std::optional<std::string> scheme = UriScheme(target)) {
        return OpenUri(target, *scheme, *arguments, start);
    }
    // Relative paths and bare names are taken from our own current folder, as the Windows shell does; the
    // request's directory is only the started program's working folder.
    std::error_code error;
    const std::filesystem::path file = std::filesystem::absolute(target, error);
    if (error) {
        return kShellPathNotFound;
    }
    if (target.find('/') != std::string::npos || std::filesystem::exists(file, error)) {
        return OpenFile(file, *arguments, start);
    }
    if (const std::optional<std::filesystem::path> program = environment_.FindProgram(target)) {
        return OpenFile(*program, *arguments, start);
    }
    if (const AppPathEntry* entry = FindAppPath(appPaths_, target)) {
        return RunStandIn(*entry, *arguments, start);
    }
    return kShellFileNotFound;
}

int PosixSystem::OpenUri(const std::string& uri, const std::string& scheme, const std::vector<std::string>& arguments,
                         const Start& start) {
    // Without an installed stand-in, a program that registered the scheme itself still gets it.
    if (const AppPathEntry* entry = FindAppPath(appPaths_, scheme + ":"); entry != nullptr && HasStandIn(*entry)) {
        return RunStandIn(*entry, arguments, start);
    }
    // A desktop's handler cannot be elevated, as a Windows scheme has no "runas" verb.
    return start.elevated ? kShellNoAssociation : OpenWithSchemeHandler(uri, scheme);
}

int PosixSystem::OpenFile(const std::filesystem::path& file, const std::vector<std::string>& arguments,
                          const Start& start) {
    struct stat status {};
    if (stat(file.c_str(), &status) != 0) {
        return StatFailure(errno);
    }
    if (S_ISREG(status.st_mode)) {
        const Format format = ExecutableFormat(file);
        if (access(file.c_str(), X_OK) == 0) {
            return format == Format::Other ? kShellBadFormat : RunProgram(file, arguments, start);
        }
        if (format == Format::Program) {
            return kShellAccessDenied;
        }
    }
    // Folders and documents go to their default application, which takes neither parameters nor a working
    // folder from us, and which cannot be elevated.
    return start.elevated ? kShellNoAssociation : OpenWithDefaultApplication(file);
}

bool PosixSystem::HasStandIn(const AppPathEntry& entry) const {
    return std::any_of(entry.candidates.begin(), entry.candidates.end(), [this](const AppPathCandidate& candidate) {
        return environment_.FindProgram(candidate.program).has_value();
    });
}

int PosixSystem::RunStandIn(const AppPathEntry& entry, const std::vector<std::string>& arguments, const Start& start) {
    for (const AppPathCandidate& candidate : entry.candidates) {
        if (const std::optional<std::filesystem::path> program = environment_.FindProgram(candidate.program)) {
            std::vector<std::string> all = candidate.arguments;
            all.insert(all.end(), arguments.begin(), arguments.end());
            return OpenFile(*program, all, start);
        }
    }
    return kShellFileNotFound;
}

int PosixSystem::RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                            const Start& start) {
    std::vector<std::string> argv;
    if (start.elevated) {
        const std::optional<std::filesystem::path> pkexec = environment_.FindProgram("pkexec");
        const std::optional<std::filesystem::path> env = environment_.FindProgram("env");
        if (!pkexec || !env) {
            return kShellAccessDenied;
        }
        // pkexec keeps only a few variables; these let a graphical program open its window.
        argv = {pkexec->string(), "--keep-cwd", env->string()};
        const auto pass = [&argv](const char* name, const std::string& value) {
            if (!value.empty()) {
                argv.push_back(std::string(name) + "=" + value);
            }
        };
        pass("DISPLAY", environment_.display);
        pass("XAUTHORITY", environment_.xauthority);
        pass("WAYLAND_DISPLAY", environment_.waylandDisplay);
        // env would read a program path holding '=' as one more variable and run the next argument instead.
        if (program.string().find('=') != std::string::npos) {
            const std::optional<std::filesystem::path> shell = environment_.FindProgram("sh");
            if (!shell) {
                return kShellAccessDenied;
            }
            argv.insert(argv.end(), {shell->string(), "-c", "exec \"$0\" \"$@\""});
        }
    }
    argv.push_back(program.string());
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    // pkexec refuses to serve a parent that has gone, so it stays our child instead of being detached.
    return start.elevated ? SpawnWatched(argv, start.directory) : SpawnDetached(argv, start.directory);
}

}  // namespace nagitori::posix
