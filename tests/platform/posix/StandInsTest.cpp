#include <glib.h>
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

TEST(StandIns, OrderOfTriesFollowsTheRunningDesktop) {
    const AppPathEntry entry("tool",
                             {
                                 {"generic"},
                                 {"kde.desktop", {}, Kind::DesktopFile, Desktop::Kde},
                                 {"gnome-tool", {}, Kind::Program, Desktop::Gnome},
                                 {"text/plain", {}, Kind::DefaultForType},
                                 {"xfce-tool", {}, Kind::Program, Desktop::Xfce},
                                 {"cinnamon.desktop", {}, Kind::DesktopFile, Desktop::Cinnamon},
                                 {"mailto", {}, Kind::DefaultForScheme},
                                 AppPathCandidate("last-resort").Fallback(),
                                 AppPathCandidate("gnome-only", {}, Kind::Program, Desktop::Gnome).OnlyOnItsDesktop(),
                             });
    struct Case {
        std::string currentDesktop;
        std::vector<std::string> order;  // "*": any application that registered the type
    };
    const Case cases[] = {
        {"",
         {"text/plain", "mailto", "generic", "gnome-tool", "kde.desktop", "xfce-tool", "cinnamon.desktop",
          "last-resort", "text/plain*", "mailto*"}},
        {"KDE",
         {"text/plain", "mailto", "kde.desktop", "generic", "gnome-tool", "xfce-tool", "cinnamon.desktop",
          "last-resort", "text/plain*", "mailto*"}},
        {"X-Cinnamon",
         {"text/plain", "mailto", "cinnamon.desktop", "generic", "gnome-tool", "kde.desktop", "xfce-tool",
          "last-resort", "text/plain*", "mailto*"}},
        {"xfce",
         {"text/plain", "mailto", "xfce-tool", "generic", "gnome-tool", "kde.desktop", "cinnamon.desktop",
          "last-resort", "text/plain*", "mailto*"}},
        {"ubuntu:GNOME",
         {"text/plain", "mailto", "gnome-tool", "gnome-only", "generic", "kde.desktop", "xfce-tool", "cinnamon.desktop",
          "last-resort", "text/plain*", "mailto*"}},
        // Several desktops: in the variable's order.
        {"LXQt:KDE:XFCE",
         {"text/plain", "mailto", "kde.desktop", "xfce-tool", "generic", "gnome-tool", "cinnamon.desktop",
          "last-resort", "text/plain*", "mailto*"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> order;
        for (const StandInAttempt& attempt : OrderedAttempts(entry, c.currentDesktop)) {
            order.push_back(attempt.candidate->name + (attempt.anyRegistered ? "*" : ""));
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
    const fs::path module = fs::path(g_get_user_data_dir()) / "nagitori-test" / "module";
    fs::create_directories(module.parent_path());
    test::WriteFileBytes(module, "");

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
         "nagitori-app"},
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
        // Folders have a handler only by registration, no one chose it: the desktop's tool comes first.
        {"a registered default after the desktop's own", "KDE",
         AppPathEntry("x",
                      {{"inode/directory", {}, Kind::DefaultForType}, {"kde-stub", {}, Kind::Program, Desktop::Kde}}),
         "kde-stub"},
        {"a registered default as the last resort", "KDE",
         AppPathEntry("x", {{"inode/directory", {}, Kind::DefaultForType}}), "handler"},
        {"not an application of a parent type", "", AppPathEntry("x", {{"text/x-csrc", {}, Kind::DefaultForType}}),
         std::nullopt},
        {"another desktop's own tool", "KDE",
         AppPathEntry("x", {AppPathCandidate("gnome-stub", {}, Kind::Program, Desktop::Gnome).OnlyOnItsDesktop()}),
         std::nullopt},
        // Each would start and do nothing useful: an empty terminal, a page that names the missing tool.
        {"a program whose command or tool is missing", "",
         AppPathEntry("x", {AppPathCandidate("gnome-stub", {"-e", "absent"}).Needs("absent", "absent-package"),
                            AppPathCandidate("kde-stub", {"--info"}).Needs("gnome-stub", "gnome-package")}),
         "kde-stub --info"},
        {"a desktop file that starts a missing program through env", "",
         AppPathEntry("x", {{"nagitori-test-env-missing.desktop", {}, Kind::DesktopFile},
                            {"nagitori-test-env.desktop", {}, Kind::DesktopFile}}),
         "nagitori-test-env.desktop (env)"},
        {"a module whose data file is missing", "",
         AppPathEntry("x", {AppPathCandidate("gnome-stub").Requires("nagitori-test/missing-module"),
                            AppPathCandidate("kde-stub").Requires("nagitori-test/module")}),
         "kde-stub"},
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

TEST(StandIns, PackagesNameWhatEachStandInNeeds) {
    const AppPathEntry entry(
        "x", {AppPathCandidate("kcmshell5", {"kcm_glx"}, Kind::Program, Desktop::Kde, "kinfocenter")
                  .Needs("glxinfo", "mesa-utils"),
              AppPathCandidate("hardinfo", {}, Kind::Program, Desktop::Any, "hardinfo"),
              AppPathCandidate("x-terminal-emulator", {"-e", "reportbug"}).Needs("reportbug", "reportbug"),
              AppPathCandidate("hardinfo.desktop", {}, Kind::DesktopFile, Desktop::Any, "hardinfo")});
    EXPECT_EQ(StandInPackages(entry, "KDE"),
              (std::vector<std::string>{"kinfocenter + mesa-utils", "hardinfo", "reportbug"}));
}

}  // namespace
}  // namespace nagitori::posix
