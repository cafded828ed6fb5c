#pragma once

#include <cstdint>
#include <string>

namespace nagitori {

// What the desktop hands a start so that its window may take the focus: a Wayland activation token and an X11
// startup-notification ID. Both are empty for a start from a terminal.
struct ActivationContext {
    std::string activationToken;  // XDG_ACTIVATION_TOKEN
    std::string startupId;        // DESKTOP_STARTUP_ID
    // X11 server time of the user's action when it is known otherwise (a key press seen by this process); 0 takes
    // the time from the startup-notification ID.
    std::uint32_t userTime = 0;

    // The context of this process's own start.
    static ActivationContext FromEnvironment();

    // The X11 time of the user's action: `userTime`, else the number after the ID's last "_TIME"; 0 when unknown.
    std::uint32_t X11Time() const;
};

}  // namespace nagitori
