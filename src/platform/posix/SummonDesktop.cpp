#include "platform/posix/SummonDesktop.h"

#include <string_view>

#include "common/AsciiCase.h"

namespace nagitori::posix {

namespace {

struct KnownDesktop {
    std::string_view name;
    SummonDesktop desktop;
};

constexpr KnownDesktop kKnownDesktops[] = {
    {"KDE", SummonDesktop::kKde},
    {"GNOME", SummonDesktop::kGnome},
    {"GNOME-Flashback", SummonDesktop::kGnome},
    {"X-Cinnamon", SummonDesktop::kCinnamon},
    {"Cinnamon", SummonDesktop::kCinnamon},
    {"MATE", SummonDesktop::kMate},
    {"XFCE", SummonDesktop::kXfce},
};

// Characters that need no quoting in GLib's shell syntax; bytes of UTF-8 sequences need none either.
bool Plain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("/._-+").find(c) != std::string_view::npos || static_cast<unsigned char>(c) >= 0x80;
}

}  // namespace

SummonDesktop DetectSummonDesktop(const PosixEnvironment& environment) {
    std::string_view names = environment.xdgCurrentDesktop;
    while (!names.empty()) {
        const size_t colon = names.find(':');
        const std::string_view name = names.substr(0, colon);
        for (const KnownDesktop& known : kKnownDesktops) {
            if (EqualsIgnoringAsciiCase(name, known.name)) {
                return known.desktop;
            }
        }
        names = colon == std::string_view::npos ? std::string_view() : names.substr(colon + 1);
    }
    // A grab on XWayland only sees keys while an X11 window has the focus.
    if (!environment.waylandDisplay.empty() || environment.display.empty()) {
        return SummonDesktop::kNone;
    }
    return SummonDesktop::kX11Grab;
}

std::string ShortcutCommand(const std::filesystem::path& executable) {
    const std::string path = executable.string();
    bool plain = !path.empty();
    for (char c : path) {
        plain = plain && Plain(c);
    }
    if (plain) {
        return path;
    }
    std::string quoted = "'";
    for (char c : path) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace nagitori::posix
