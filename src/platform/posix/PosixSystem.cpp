#include "platform/posix/PosixSystem.h"

#include "platform/posix/AutostartRunKey.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "common/AsciiCase.h"
#include "platform/posix/DocumentViewers.h"
#include "platform/posix/FileIcon.h"
#include "platform/posix/GioLaunch.h"
#include "platform/posix/ParameterSplitter.h"
#include "platform/posix/ShellResults.h"
#include "platform/posix/StandIns.h"

namespace nagitori::posix {

namespace {

bool IsAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsRunAs(const std::string& verb) {
    return EqualsIgnoringAsciiCase(verb, "runas");
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

// Relative paths and bare names are taken from our own current folder, as the Windows shell does; the
// request's directory is only the started program's working folder. Null for a bare name not found there.
std::optional<std::filesystem::path> OwnFile(const std::string& target) {
    std::error_code error;
    std::filesystem::path file = std::filesystem::absolute(target, error);
    if (error) {
        file = target;
    }
    if (target.find('/') != std::string::npos || std::filesystem::exists(file, error)) {
        return file;
    }
    return std::nullopt;
}

// The Wayland socket by its full path. Under pkexec the program runs as root, whose runtime folder is another
// one (or none): a bare socket name would be looked for there. The user's runtime folder itself is not
// handed over, so that root never writes into it.
std::string WaylandSocket(const PosixEnvironment& environment) {
    const std::string& name = environment.waylandDisplay;
    if (name.empty() || name.front() == '/') {
        return name;
    }
    const std::filesystem::path folder = environment.xdgRuntimeDir;
    return folder.is_absolute() ? (folder / name).string() : std::string();
}

IconReference IconOf(const FoundStandIn& standIn) {
    return standIn.application ? standIn.application->Icon() : FileIcon(standIn.program);
}

}  // namespace

PosixSystem::PosixSystem(PosixEnvironment environment, AppPaths appPaths, AdminCheck isAdmin, WaitUntil wait)
    : environment_(std::move(environment)),
      appPaths_(std::move(appPaths)),
      isAdmin_(std::move(isAdmin)),
      wait_(std::move(wait)) {
    if (!isAdmin_) {
        isAdmin_ = [] { return geteuid() == 0; };
    }
    if (!wait_) {
        wait_ = IterateMainContextUntil;
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
    return environment_.executable;
}

bool PosixSystem::MayWriteFolder(const std::filesystem::path& folder) {
    // Creating a file needs write and search permission; the effective ids are the ones that will write.
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

int PosixSystem::OsMajorVersion() {
    return 10;
}

std::unique_ptr<RunKey> PosixSystem::OpenRunKey() {
    return OpenAutostartRunKey(SystemAutostartFolder(environment_.xdgConfigDirs));
}

std::optional<StandInReport> PosixSystem::StandInFor(const std::string& command) {
    StandInReport report;
    const std::optional<std::string> scheme = UriScheme(command);
    if (!scheme) {
        std::optional<std::filesystem::path> own = OwnFile(command);
        if (!own) {
            own = environment_.FindProgram(command);
        }
        if (own) {
            report.program = command;
            report.icon = FileIcon(*own);
            return report;
        }
    }
    if (const AppPathEntry* entry = FindAppPath(appPaths_, scheme ? *scheme + ":" : command)) {
        report.packages = StandInPackages(*entry, environment_.xdgCurrentDesktop);
        if (const std::optional<FoundStandIn> standIn = FindStandIn(*entry, environment_)) {
            report.program = standIn->Description();
            report.icon = IconOf(*standIn);
            return report;
        }
    }
    if (scheme) {
        if (const std::optional<DesktopApp> handler = DesktopApp::DefaultForScheme(*scheme)) {
            report.program = handler->Description();
            report.icon = handler->Icon();
        }
    }
    return report;
}

std::optional<MissingProgram> PosixSystem::MissingElevation() {
    if (IsUserAnAdmin() || environment_.FindProgram("pkexec")) {
        return std::nullopt;
    }
    return MissingProgram{"pkexec", {"pkexec"}};
}

IconReference PosixSystem::IconFor(const std::string& target) {
    if (target.empty()) {
        return {};
    }
    if (const std::optional<std::string> scheme = UriScheme(target)) {
        const std::optional<StandInReport> report = StandInFor(*scheme + ":");
        return report ? report->icon : IconReference();
    }
    if (const std::optional<std::filesystem::path> file = OwnFile(target)) {
        return FileIcon(*file);
    }
    const std::optional<StandInReport> report = StandInFor(target);
    return report ? report->icon : IconReference();
}

int PosixSystem::ShellExecute(const LaunchRequest& request) {
    // The show command is ignored: X11 and Wayland give no portable way to size another program's first window.
    if (!request.directory.empty() && !IsFolder(request.directory)) {
        return kShellPathNotFound;
    }
    const Start start{request.directory, IsRunAs(request.verb) && !IsUserAnAdmin()};
    const std::string& target = request.target;
    if (target.empty()) {
        return kShellFileNotFound;
    }
    if (const std::optional<std::string> scheme = UriScheme(target)) {
        return OpenUri(target, *scheme, request.parameters, start);
    }
    if (const std::optional<std::filesystem::path> file = OwnFile(target)) {
        return OpenFile(*file, SplitParameters(request.parameters), start);
    }
    if (const std::optional<std::filesystem::path> program = environment_.FindProgram(target)) {
        return OpenFile(*program, SplitParameters(request.parameters), start);
    }
    if (const AppPathEntry* entry = FindAppPath(appPaths_, target)) {
        if (const std::optional<FoundStandIn> standIn = FindStandIn(*entry, environment_)) {
            return RunStandIn(*entry, *standIn, request.parameters, start);
        }
    }
    return kShellFileNotFound;
}

int PosixSystem::OpenUri(const std::string& uri, const std::string& scheme, const std::string& parameters,
                         const Start& start) {
    if (const AppPathEntry* entry = FindAppPath(appPaths_, scheme + ":")) {
        if (const std::optional<FoundStandIn> standIn = FindStandIn(*entry, environment_)) {
            return RunStandIn(*entry, *standIn, parameters, start);
        }
    }
    // Without an installed stand-in, a program that registered the scheme itself still gets it; a desktop's
    // handler cannot be elevated, as a Windows scheme has no "runas" verb.
    if (start.elevated) {
        return kShellNoAssociation;
    }
    const std::optional<DesktopApp> handler = DesktopApp::DefaultForScheme(scheme);
    return handler ? handler->OpenUri(uri) : kShellNoAssociation;
}

int PosixSystem::OpenFile(const std::filesystem::path& file, const std::vector<std::string>& arguments,
                          const Start& start) {
    struct stat status {};
    if (stat(file.c_str(), &status) != 0) {
        return StatFailure(errno);
    }
    if (S_ISREG(status.st_mode)) {
        const Format format = ExecutableFormat(file);
        const bool executable = access(file.c_str(), X_OK) == 0;
        if (format == Format::Program && executable) {
            return RunProgram(file, arguments, start);
        }
        if (format == Format::Unreadable) {
            // Execute-only programs exist; anything else we cannot read, no application could either.
            return executable ? RunProgram(file, arguments, start) : kShellAccessDenied;
        }
        if (file.extension() == ".desktop") {
            const std::optional<DesktopApp> application = DesktopApp::FromFile(file);
            return application ? LaunchApplication(*application, arguments, start) : kShellBadFormat;
        }
    }
    // Folders and documents go to their default application, which takes neither parameters nor a working
    // folder from us, and which cannot be elevated. Execute bits do not make a document a program: files on
    // FAT, NTFS and CIFS mounts carry them all.
    return start.elevated ? kShellNoAssociation : OpenDocument(file, environment_);
}

int PosixSystem::RunStandIn(const AppPathEntry& entry, const FoundStandIn& standIn, const std::string& parameters,
                            const Start& start) {
    // The catalogue's Windows argument means nothing to a Linux program; its own arguments say it.
    const std::vector<std::string> arguments = !entry.windowsArgument.empty() && parameters == entry.windowsArgument
                                                   ? std::vector<std::string>()
                                                   : SplitParameters(parameters);
    if (standIn.application) {
        return LaunchApplication(*standIn.application, arguments, start);
    }
    std::vector<std::string> all = standIn.candidate->arguments;
    all.insert(all.end(), arguments.begin(), arguments.end());
    return OpenFile(standIn.program, all, start);
}

int PosixSystem::LaunchApplication(const DesktopApp& application, const std::vector<std::string>& arguments,
                                   const Start& start) {
    if (!start.elevated) {
        return application.Launch(arguments, start.directory);
    }
    // pkexec takes a program, not a desktop file: run the command line the desktop file gives, in its folder.
    std::vector<std::string> command = application.CommandLine(arguments);
    if (command.empty()) {
        return kShellBadFormat;
    }
    const std::optional<std::filesystem::path> program = command.front().find('/') == std::string::npos
                                                             ? environment_.FindProgram(command.front())
                                                             : std::optional<std::filesystem::path>(command.front());
    if (!program) {
        return kShellFileNotFound;
    }
    command.erase(command.begin());
    const std::string folder = application.OwnFolder();
    return OpenFile(*program, command, folder.empty() ? start : Start{folder, start.elevated});
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
        pass("WAYLAND_DISPLAY", WaylandSocket(environment_));
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
    return start.elevated ? SpawnElevated(argv, start.directory, wait_) : SpawnDetached(argv, start.directory);
}

}  // namespace nagitori::posix
