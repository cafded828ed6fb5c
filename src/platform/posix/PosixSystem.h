#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/System.h"
#include "platform/posix/AppPaths.h"
#include "platform/posix/ElevatedLaunch.h"
#include "platform/posix/PosixEnvironment.h"

namespace nagitori::posix {

class DesktopApp;
struct FoundStandIn;

// The System of Linux and other POSIX desktops, on GLib/GIO. Its folders and search path come through the
// constructor, so tests never touch the real home folder or /etc; GIO's lookups of desktop files and default
// applications read the process's own XDG variables.
class PosixSystem final : public System {
public:
    using AdminCheck = std::function<bool()>;

    // `isAdmin` answers IsUserAnAdmin and so decides whether "runas" needs pkexec; empty: effective uid 0.
    // `wait` keeps the program's windows alive while a password prompt is open; empty: GLib's main context.
    PosixSystem(PosixEnvironment environment, AppPaths appPaths, AdminCheck isAdmin = {}, WaitUntil wait = {});

    int ShellExecute(const LaunchRequest& request) override;
    bool IsUserAnAdmin() override;
    std::filesystem::path AppDataFolder() override;
    std::filesystem::path ExecutablePath() override;
    bool MayWriteFolder(const std::filesystem::path& folder) override;
    int OsMajorVersion() override;
    std::optional<StandInReport> StandInFor(const std::string& command) override;
    std::optional<MissingProgram> MissingElevation() override;
    IconReference IconFor(const std::string& target) override;
    std::unique_ptr<RunKey> OpenRunKey() override;

private:
    struct Start {
        const std::string& directory;
        bool elevated;
    };

    int OpenUri(const std::string& uri, const std::string& scheme, const std::string& parameters, const Start& start);
    int OpenFile(const std::filesystem::path& file, const std::vector<std::string>& arguments, const Start& start);
    int RunStandIn(const AppPathEntry& entry, const FoundStandIn& standIn, const std::string& parameters,
                   const Start& start);
    int LaunchApplication(const DesktopApp& application, const std::vector<std::string>& arguments, const Start& start);
    int RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments, const Start& start);

    PosixEnvironment environment_;
    AppPaths appPaths_;
    AdminCheck isAdmin_;
    WaitUntil wait_;
};

}  // namespace nagitori::posix
