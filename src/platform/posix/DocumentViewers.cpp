#include "platform/posix/DocumentViewers.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/posix/GioLaunch.h"
#include "platform/posix/ShellResults.h"

namespace nagitori::posix {

namespace {

// Debian's name for whichever terminal emulator is installed; each one takes the command after -e.
int RunInTerminal(std::vector<std::string> command, const PosixEnvironment& environment) {
    const std::optional<std::filesystem::path> terminal = environment.FindProgram("x-terminal-emulator");
    if (!terminal || command.empty()) {
        return kShellNoAssociation;
    }
    command.insert(command.begin(), {terminal->string(), "-e"});
    return SpawnDetached(command, {});
}

std::optional<std::filesystem::path> Pager(const PosixEnvironment& environment) {
    for (const char* name : {"sensible-pager", "less", "more"}) {
        if (std::optional<std::filesystem::path> pager = environment.FindProgram(name)) {
            return pager;
        }
    }
    return std::nullopt;
}

}  // namespace

int OpenDocument(const std::filesystem::path& path, const PosixEnvironment& environment) {
    const ContentType content = ContentTypeOf(path);
    if (content.failure != 0) {
        return content.failure;
    }
    int result = kShellNoAssociation;
    for (const DesktopApp& application : DesktopApp::AllForType(content.type)) {
        result = application.OpenDocument(path);
        if (result == kShellSuccess) {
            return result;
        }
        if (application.NeedsTerminal()) {
            result = RunInTerminal(application.CommandLine({path.string()}), environment);
            if (result == kShellSuccess) {
                return result;
            }
        }
    }
    if (IsText(content.type)) {
        if (const std::optional<std::filesystem::path> pager = Pager(environment)) {
            const int paged = RunInTerminal({pager->string(), path.string()}, environment);
            return paged == kShellSuccess ? paged : result;
        }
    }
    return result;
}

}  // namespace nagitori::posix
