#include "platform/posix/SummonDesktop.h"

#include <glib.h>
#include <gtest/gtest.h>

namespace nagitori::posix {
namespace {

TEST(SummonDesktop, FollowsTheFirstKnownDesktopNameElseTheSession) {
    struct Case {
        const char* currentDesktop;
        const char* display;
        const char* waylandDisplay;
        SummonDesktop expected;
    };
    const Case cases[] = {
        {"KDE", ":0", "", SummonDesktop::kKde},
        {"KDE", "", "wayland-0", SummonDesktop::kKde},
        {"GNOME", "", "wayland-0", SummonDesktop::kGnome},
        {"ubuntu:GNOME", ":0", "", SummonDesktop::kGnome},
        {"GNOME-Flashback:GNOME", ":0", "", SummonDesktop::kGnome},
        {"X-Cinnamon", ":0", "", SummonDesktop::kCinnamon},
        {"mate", ":0", "", SummonDesktop::kMate},
        {"XFCE", ":0", "", SummonDesktop::kXfce},
        {"Unknown:XFCE", ":0", "", SummonDesktop::kXfce},
        // A window manager of its own: the key grab on X11, nothing on Wayland, even with XWayland.
        {"", ":0", "", SummonDesktop::kX11Grab},
        {"openbox", ":1", "", SummonDesktop::kX11Grab},
        {"sway", ":0", "wayland-1", SummonDesktop::kNone},
        {"", "", "", SummonDesktop::kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.currentDesktop) + " " + c.display + " " + c.waylandDisplay);
        PosixEnvironment environment;
        environment.xdgCurrentDesktop = c.currentDesktop;
        environment.display = c.display;
        environment.waylandDisplay = c.waylandDisplay;
        EXPECT_EQ(DetectSummonDesktop(environment), c.expected);
    }
}

TEST(SummonDesktop, CommandSplitsBackIntoTheProgramPath) {
    struct Case {
        const char* path;
        const char* command;
    };
    const Case cases[] = {
        {"/home/u/.local/lib/nagitori/nagitori", "/home/u/.local/lib/nagitori/nagitori"},
        {"/home/u/ツール/nagitori", "/home/u/ツール/nagitori"},
        {"/home/u/my tools/nagitori", "'/home/u/my tools/nagitori'"},
        {"/opt/it's/nagitori", "'/opt/it'\\''s/nagitori'"},
        {"/opt/$HOME/\"x\"/nagitori", "'/opt/$HOME/\"x\"/nagitori'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const std::string command = ShortcutCommand(c.path);
        EXPECT_EQ(command, c.command);
        // The desktops split the command with GLib's shell rules.
        gint argc = 0;
        gchar** argv = nullptr;
        ASSERT_TRUE(g_shell_parse_argv(command.c_str(), &argc, &argv, nullptr));
        ASSERT_EQ(argc, 1);
        EXPECT_STREQ(argv[0], c.path);
        g_strfreev(argv);
    }
}

}  // namespace
}  // namespace nagitori::posix
