#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/System.h"
#include "platform/posix/AppPaths.h"
#include "platform/posix/PosixEnvironment.h"

namespace nagitori::posix {

// The System of Linux and other POSIX desktops, on GLib/GIO. Its folders and search path come through the
// constructor, so tests never touch the real home folder or /etc; only GIO's lookup of the desktop's default
// applications reads the process's own XDG variables.
class PosixSystem final : public System {
public:
    using AdminCheck = std::function<bool()>;

    // `isAdmin` answers IsUserAnAdmin and so decides whether "runas" needs pkexec; empty: effective uid 0.
    PosixSystem(PosixEnvironment environment, AppPaths appPaths, AdminCheck isAdmin = {});

    int ShellExecute(const LaunchRequest& request) override;
    bool IsUserAnAdmin() override;
    std::filesystem::path AppDataFolder() override;
    std::filesystem::path ExecutablePath() override;
    int OsMajorVersion() override;
    std::unique_ptr<RunKey> OpenRunKey() override;

private:
    struct Start {
        const std::string& directory;
        bool elevated;
    };

    int OpenUri(const std::string& uri, const std::string& scheme, const std::vector<std::string>& arguments,
                const Start& start);
    int OpenFile(const std::filesystem::path& file, const std::vector<std::string>& arguments, const Start& start);
    bool HasStandIn(const AppPathEntry& entry) const;
    int RunStandIn(const AppPathEntry& entry, const std::vector<std::string>& arguments, const Start& start);
    int RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments, const Start& start);

    PosixEnvironment environment_;
    AppPaths appPaths_;
    AdminCheck isAdmin_;
};

}  // namespace nagitori::posix
