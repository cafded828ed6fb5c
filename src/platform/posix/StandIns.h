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

// One try at a stand-in. A default application is tried twice: first only as someone set it in a
// mimeapps.list, last as any application that registered the type.
struct StandInAttempt {
    const AppPathCandidate* candidate = nullptr;
    bool anyRegistered = false;
};

// The tries for `entry` on the desktops `currentDesktop` names (XDG_CURRENT_DESKTOP): the defaults that were
// set, then the running desktops' tools (in the variable's order), then tools of no desktop, then the other
// desktops' tools (GNOME, KDE, Xfce, LXQt, MATE, Cinnamon), then the last resorts, then any registered default;
// table order within each. Tools of another desktop come after the generic ones because settings tools of a
// desktop write settings no other session reads. Tools that only work on their own desktop are left out elsewhere.
std::vector<StandInAttempt> OrderedAttempts(const AppPathEntry& entry, std::string_view currentDesktop);

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

// The packages that would give this desktop a stand-in for `entry`, in the order they would be tried, each once;
// a stand-in that needs a program of another package names both ("kinfocenter + mesa-utils").
std::vector<std::string> StandInPackages(const AppPathEntry& entry, std::string_view currentDesktop);

}  // namespace nagitori::posix
