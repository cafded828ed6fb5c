#include "platform/posix/PosixEnvironment.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>
#include <system_error>

namespace nagitori::posix {

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string DefaultSearchPath() {
    std::string value(confstr(_CS_PATH, nullptr, 0), '\0');
    if (value.empty()) {
        return "/usr/bin:/bin";
    }
    confstr(_CS_PATH, value.data(), value.size());
    value.pop_back();  // the terminating NUL confstr wrote
    return value;
}

bool IsExecutableFile(const std::filesystem::path& candidate) {
    struct stat status {};
    return stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(candidate.c_str(), X_OK) == 0;
}

}  // namespace

PosixEnvironment PosixEnvironment::FromProcess() {
    PosixEnvironment environment;
    std::error_code error;
    environment.executable = std::filesystem::read_symlink("/proc/self/exe", error);
    environment.path = std::getenv("PATH") == nullptr ? DefaultSearchPath() : Variable("PATH");
    environment.home = Variable("HOME");
    environment.xdgConfigHome = Variable("XDG_CONFIG_HOME");
    environment.xdgConfigDirs = Variable("XDG_CONFIG_DIRS");
    environment.display = Variable("DISPLAY");
    environment.xauthority = Variable("XAUTHORITY");
    environment.waylandDisplay = Variable("WAYLAND_DISPLAY");
    environment.xdgRuntimeDir = Variable("XDG_RUNTIME_DIR");
    environment.xdgCurrentDesktop = Variable("XDG_CURRENT_DESKTOP");
    return environment;
}

std::optional<std::filesystem::path> PosixEnvironment::FindProgram(const std::string& name) const {
    if (path.empty() || name.empty() || name.find('/') != std::string::npos) {
        return std::nullopt;
    }
    std::string_view rest = path;
    while (true) {
        const std::size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        const std::filesystem::path candidate =
            folder.empty() ? std::filesystem::path(name) : std::filesystem::path(folder) / name;
        if (IsExecutableFile(candidate)) {
            std::error_code error;
            std::filesystem::path absolute = std::filesystem::absolute(candidate, error);
            return error ? std::nullopt : std::optional(absolute);
        }
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        rest.remove_prefix(colon + 1);
    }
}

}  // namespace nagitori::posix
