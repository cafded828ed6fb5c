#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/AppPaths.h"
#include "platform/posix/GioLaunch.h"
#include "platform/posix/PosixEnvironment.h"

namespace nagitori::posix {

// The candidates of `entry` in the order they are tried: the user's default applications first, then those of
// the desktops `currentDesktop` names (XDG_CURRENT_DESKTOP, in its order), then those of the other desktops
// (GNOME, KDE, Xfce, LXQt, MATE, Cinnamon), then the ones that belong to none; table order within each.
std::vector<const AppPathCandidate*> OrderedCandidates(const AppPathEntry& entry, std::string_view currentDesktop);

// A stand-in installed on this system: a program on PATH or an application GIO knows.
struct FoundStandIn {
    const AppPathCandidate* candidate = nullptr;
    std::filesystem::path program;          // a program's absolute path
    std::optional<DesktopApp> application;  // or the application

    // What it is, for people: "gnome-system-monitor --show-processes-tab", "Logs (gnome-logs)".
    std::string Description() const;
};

// The first stand-in of `entry` installed here.
std::optional<FoundStandIn> FindStandIn(const AppPathEntry& entry, const PosixEnvironment& environment);

}  // namespace nagitori::posix
