#pragma once

#include <string>
#include <vector>

namespace nagitori {

// What decides the display platform, read before any GUI object exists. An unset variable reads as empty.
struct DisplaySession {
    std::string qpaPlatform;     // QT_QPA_PLATFORM
    std::string display;         // DISPLAY
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    std::string sessionType;     // XDG_SESSION_TYPE

    static DisplaySession FromProcess();
};

// The Qt platform list the program asks for, or empty to leave Qt its own choice. On a Wayland session with
// an X server (XWayland), X11 first: there the window manager keeps the fixed size, stacking, placement of
// dialogs and the desktop's own title bar, which a Wayland client cannot ask for. Wayland stays as the
// fallback for an X server that does not answer. The user's own choice, through QT_QPA_PLATFORM or
// "-platform", always wins.
std::string ChosenDisplayPlatform(const DisplaySession& session, const std::vector<std::string>& arguments);

// Adds the chosen platform to the command line that QApplication reads. The choice travels as an argument,
// not as QT_QPA_PLATFORM, so that no program started from here inherits it. Call before QApplication.
void ChooseDisplayPlatform(int& argc, char**& argv);

}  // namespace nagitori
