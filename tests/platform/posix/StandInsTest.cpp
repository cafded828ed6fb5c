#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "platform/posix/StandIns.h"
#include "support/TempDir.h"

namespace nagitori::posix {
namespace {

namespace fs = std::filesystem;
using Kind = StandInKind;
using Desktop = DesktopEnvironment;

TEST(StandIns, DefaultsFirstThenTheRunningDesktopThenTheOthersThenAnyDesktop) {
    const AppPathEntry entry("tool", {
                                         {"generic"},
                                         {"kde.desktop", {}, Kind::DesktopFile, Desktop::Kde},
                                         {"gnome-tool", {}, Kind::Program, Desktop::Gnome},
                                         {"text/plain", {}, Kind::DefaultForType},
                                         {"xfce-tool", {}, Kind::Program, Desktop::Xfce},
                                         {"cinnamon.desktop", {}, Kind::DesktopFile, Desktop::Cinnamon},
                                         {"mailto", {}, Kind::DefaultForScheme},
                                     });
    struct Case {
        std::string currentDesktop;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {"", {"text/plain", "mailto", "gnome-tool", "kde.desktop", "xfce-tool", "cinnamon.desktop", "generic"}},
        {"KDE", {"text/plain", "mailto", "kde.desktop", "gnome-tool", "xfce-tool", "cinnamon.desktop", "generic"}},
        {"X-Cinnamon",
         {"text/plain", "mailto", "cinnamon.desktop", "gnome-tool", "kde.desktop", "xfce-tool", "generic"}},
        {"xfce", {"text/plain", "mailto", "xfce-tool", "gnome-tool", "kde.desktop", "cinnamon.desktop", "generic"}},
        {"ubuntu:GNOME",
         {"text/plain", "mailto", "gnome-tool", "kde.desktop", "xfce-tool", "cinnamon.desktop", "generic"}},
        // Several desktops: in the variable's order.
        {"LXQt:KDE:XFCE",
         {"text/plain", "mailto", "kde.desktop", "xfce-tool", "gnome-tool", "cinnamon.desktop", "generic"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> order;
        for (const AppPathCandidate* candidate : OrderedCandidates(entry, c.currentDesktop)) {
            order.push_back(candidate->name);
        }
        EXPECT_EQ(order, c.order) << c.currentDesktop;
    }
}

// Against GIO with a desktop database of the test's own and stub programs on PATH.
TEST(StandIns, FindsTheFirstInstalledOfEachKind) {
    const test::IsolatedDesktop& desktop = test::IsolateDesktopDatabase();
    ASSERT_TRUE(desktop.isolated);
    test::TempDir bin;
    for (const char* program : {"gnome-stub", "kde-stub"}) {
        test::WriteFileBytes(bin / program, "#!/bin/sh\n");
        fs::permissions(bin / program, fs::perms::owner_all);
    }
    PosixEnvironment environment;
    environment.path = bin.Path().string();

    struct Case {
        std::string what;
        std::string currentDesktop;
        AppPathEntry entry;
        std::optional<std::string> found;  // the program or the desktop file's program
    };
    const Case cases[] = {
        {"a desktop file; hidden ones and those whose TryExec is missing do not count", "",
         AppPathEntry("x", {{"nagitori-test-hidden.desktop", {}, Kind::DesktopFile},
                            {"nagitori-test-tryexec.desktop", {}, Kind::DesktopFile},
                            {"nagitori-test-app.desktop", {}, Kind::DesktopFile}}),
         "app"},
        {"the desktop's own tool where two are installed", "KDE",
         AppPathEntry(
             "x", {{"gnome-stub", {}, Kind::Program, Desktop::Gnome}, {"kde-stub", {}, Kind::Program, Desktop::Kde}}),
         "kde-stub"},
        {"the same table on GNOME", "GNOME",
         AppPathEntry(
             "x", {{"gnome-stub", {}, Kind::Program, Desktop::Gnome}, {"kde-stub", {}, Kind::Program, Desktop::Kde}}),
         "gnome-stub"},
        {"the user's text editor before the desktop's own", "KDE",
         AppPathEntry("x", {{"kde-stub", {}, Kind::Program, Desktop::Kde}, {"text/plain", {}, Kind::DefaultForType}}),
         "handler"},
        {"the user's browser", "", AppPathEntry("x", {{"http", {}, Kind::DefaultForScheme}}), "browser"},
        {"nothing installed", "",
         AppPathEntry("x", {{"absent.desktop", {}, Kind::DesktopFile},
                            {"absent", {}, Kind::Program},
                            {"application/x-nagitori-unknown", {}, Kind::DefaultForType}}),
         std::nullopt},
    };
    for (const Case& c : cases) {
        environment.xdgCurrentDesktop = c.currentDesktop;
        const std::optional<FoundStandIn> found = FindStandIn(c.entry, environment);
        ASSERT_EQ(found.has_value(), c.found.has_value()) << c.what;
        if (found) {
            const std::string description = found->Description();
            EXPECT_TRUE(description == *c.found || description.find("(" + *c.found + ")") != std::string::npos)
                << c.what << ": " << description;
        }
    }
}

}  // namespace
}  // namespace nagitori::posix
