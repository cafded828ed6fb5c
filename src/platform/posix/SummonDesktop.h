#pragma once

#include <filesystem>
#include <string>

#include "platform/posix/PosixEnvironment.h"

namespace nagitori::posix {

// Where the summon key is bound in this session.
enum class SummonDesktop {
    kKde,    // KDE's global shortcut service
    kGnome,  // the desktop's custom shortcuts in GSettings
    kCinnamon,
    kMate,
    kXfce,     // xfconf
    kX11Grab,  // any other X11 window manager: a key grab of the running copy
    kNone,     // any other Wayland compositor, or no display
};

// From XDG_CURRENT_DESKTOP (its first name this program knows), else the kind of session.
SummonDesktop DetectSummonDesktop(const PosixEnvironment& environment);

// The program's command as the desktops' shortcuts run it: split by GLib's shell rules, so a path with blanks or
// quotes is single-quoted.
std::string ShortcutCommand(const std::filesystem::path& executable);

}  // namespace nagitori::posix
