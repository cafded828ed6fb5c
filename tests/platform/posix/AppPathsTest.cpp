#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/posix/AppPaths.h"
#include "platform/posix/StandIns.h"
#include "tools/Catalogue.h"

namespace nagitori::posix {
namespace {

TEST(AppPaths, FindsWholeNamesWithoutRegardToAsciiCase) {
    const AppPaths table = {{"cmd.exe", {{"xterm", {}}}}, {"ms-settings:", {{"settings", {}}}}, {"Calc", {}}};
    struct Case {
        const char* name;
        const char* found;
    };
    for (const Case c : {Case{"cmd.exe", "cmd.exe"}, Case{"CMD.EXE", "cmd.exe"}, Case{"MS-Settings:", "ms-settings:"},
                         Case{"calc", "Calc"}, Case{"cmd", nullptr}, Case{"cmd.exe ", nullptr},
                         Case{"ms-settings", nullptr}, Case{"", nullptr}}) {
        const AppPathEntry* entry = FindAppPath(table, c.name);
        if (c.found == nullptr) {
            EXPECT_EQ(entry, nullptr) << c.name;
        } else {
            ASSERT_NE(entry, nullptr) << c.name;
            EXPECT_EQ(entry->name, c.found);
        }
    }
}

std::string Describe(const AppPathCandidate& candidate) {
    std::string text = candidate.name;
    for (const std::string& argument : candidate.arguments) {
        text += " " + argument;
    }
    return text;
}

TEST(AppPaths, ShippedTableHasOneEntryPerCatalogueCommandWithItsWindowsArgument) {
    const AppPaths& table = DefaultAppPaths();
    const std::vector<std::string> commands = BuildToolRunCommand();
    for (int tag = 0; tag < kCatalogueSize; ++tag) {
        const std::string& command = commands[static_cast<std::size_t>(tag)];
        const AppPathEntry* entry = FindAppPath(table, command);
        ASSERT_NE(entry, nullptr) << command;
        EXPECT_EQ(entry->name, command) << "entries are spelt as the catalogue spells them";
        EXPECT_EQ(entry->windowsArgument, FixedParameters(tag).value_or("")) << command;
    }
    for (const AppPathEntry& entry : table) {
        EXPECT_EQ(FindAppPath(table, entry.name), &entry) << "a second entry shadows " << entry.name;
        EXPECT_NE(std::find(commands.begin(), commands.end(), entry.name), commands.end())
            << entry.name << " is no catalogue command";
    }
}

TEST(AppPaths, ShippedCandidatesAreWellFormed) {
    // Programs are looked up on PATH and arguments handed over without a shell: paths, blanks and shell syntax
    // have no place here.
    const std::string_view shellSyntax = " \t\n\\'\"`$;&|<>*?~#()[]{}!";
    for (const AppPathEntry& entry : DefaultAppPaths()) {
        for (auto candidate = entry.candidates.begin(); candidate != entry.candidates.end(); ++candidate) {
            const std::string described = entry.name + ": " + Describe(*candidate);
            EXPECT_FALSE(candidate->name.empty()) << described;
            EXPECT_EQ(candidate->name.find_first_of(shellSyntax), std::string::npos) << described;
            switch (candidate->kind) {
                case StandInKind::Program:
                    EXPECT_EQ(candidate->name.find('/'), std::string::npos) << described;
                    for (const std::string& argument : candidate->arguments) {
                        EXPECT_FALSE(argument.empty()) << described;
                        EXPECT_EQ(argument.find_first_of(shellSyntax), std::string::npos) << described;
                    }
                    break;
                case StandInKind::DesktopFile:
                    EXPECT_TRUE(candidate->name.ends_with(".desktop")) << described;
                    EXPECT_EQ(candidate->name.find('/'), std::string::npos) << described;
                    EXPECT_TRUE(candidate->arguments.empty()) << "a desktop file brings its own: " << described;
                    break;
                case StandInKind::DefaultForType:
                    EXPECT_NE(candidate->name.find('/'), std::string::npos) << "a content type: " << described;
                    EXPECT_TRUE(candidate->arguments.empty()) << described;
                    break;
                case StandInKind::DefaultForScheme:
                    EXPECT_EQ(candidate->name.find_first_of(":/"), std::string::npos) << "a bare scheme: " << described;
                    EXPECT_TRUE(candidate->arguments.empty()) << described;
                    break;
            }
            if (candidate->kind == StandInKind::Program || candidate->kind == StandInKind::DesktopFile) {
                // What the notice asks the user to install; only the alternatives' links have none of their own.
                EXPECT_TRUE(!candidate->package.empty() || candidate->name.starts_with("x-")) << described;
            }
            if (candidate->tier == StandInTier::OwnDesktopOnly) {
                EXPECT_NE(candidate->desktop, DesktopEnvironment::Any) << described;
            }
            EXPECT_TRUE(std::none_of(entry.candidates.begin(), candidate,
                                     [&](const AppPathCandidate& earlier) {
                                         return earlier.kind == candidate->kind &&
                                                Describe(earlier) == Describe(*candidate);
                                     }))
                << "listed twice: " << described;
        }
    }
}

// A stand-in that starts another program, or a settings module, counts only with what it starts installed: the
// command a terminal runs, the module's file under the name the installed desktop gives it (a Plasma 5 service
// file is named as the module), the tool a module's page shows.
TEST(AppPaths, ShippedWrappersNeedWhatTheyStart) {
    for (const AppPathEntry& entry : DefaultAppPaths()) {
        for (const AppPathCandidate& candidate : entry.candidates) {
            const std::string described = entry.name + ": " + Describe(candidate);
            const std::vector<std::string>& arguments = candidate.arguments;
            const auto command = std::find(arguments.begin(), arguments.end(), "-e");
            if (command != arguments.end()) {
                ASSERT_NE(command + 1, arguments.end()) << described;
                EXPECT_EQ(candidate.requiredProgram, *(command + 1)) << described;
                EXPECT_FALSE(candidate.requiredPackage.empty()) << described;
            }
            if ((candidate.name == "systemsettings" || candidate.name == "kcmshell5") && !arguments.empty()) {
                EXPECT_FALSE(candidate.requiredData.empty()) << described;
                if (candidate.requiredData.starts_with("kservices5/")) {
                    EXPECT_EQ(candidate.requiredData, "kservices5/" + arguments.front() + ".desktop") << described;
                }
            }
            if (!candidate.requiredProgram.empty()) {
                EXPECT_FALSE(candidate.requiredPackage.empty()) << "the notice names it: " << described;
            }
        }
    }
}

// The first tool tried on a desktop, the user's chosen defaults apart.
std::string FirstToolOn(const std::string& command, const std::string& desktop) {
    const AppPathEntry* entry = FindAppPath(DefaultAppPaths(), command);
    if (entry == nullptr) {
        return "no entry";
    }
    for (const StandInAttempt& attempt : OrderedAttempts(*entry, desktop)) {
        const StandInKind kind = attempt.candidate->kind;
        if (kind == StandInKind::Program || kind == StandInKind::DesktopFile) {
            return Describe(*attempt.candidate);
        }
    }
    return "none";
}

TEST(AppPaths, ShippedTableOffersEachDesktopItsOwnToolForTheJob) {
    struct Case {
        const char* command;
        const char* desktop;
        const char* first;
    };
    const Case cases[] = {
        {"cmd.exe", "GNOME", "org.gnome.Terminal.desktop"},
        {"cmd.exe", "KDE", "org.kde.konsole.desktop"},
        {"powershell", "XFCE", "xfce4-terminal-emulator.desktop"},
        {"control", "LXQt", "lxqt-config.desktop"},
        {"ms-settings:", "X-Cinnamon", "cinnamon-settings.desktop"},
        {"control", "MATE", "matecc.desktop"},
        // The catalogue's "/7" and "/res" become each monitor's own tab.
        {"taskmgr.exe", "GNOME", "gnome-system-monitor --show-processes-tab"},
        {"taskmgr.exe", "KDE", "plasma-systemmonitor --page-id processes.page"},
        {"taskmgr.exe", "MATE", "mate-system-monitor --show-processes-tab"},
        {"perfmon.exe", "GNOME", "gnome-system-monitor --show-resources-tab"},
        {"perfmon.exe", "KDE", "plasma-systemmonitor --page-id overview.page"},
        // A cleaner, not a disk-usage viewer; without a known desktop the generic one.
        {"cleanmgr.exe", "KDE", "org.kde.sweeper.desktop"},
        {"cleanmgr.exe", "", "org.bleachbit.BleachBit.desktop"},
        {"magnify", "KDE", "org.kde.kmag.desktop"},
        {"magnify", "GNOME", "gsettings set org.gnome.desktop.a11y.applications screen-magnifier-enabled true"},
        {"mstsc.exe", "GNOME", "org.gnome.Connections.desktop"},
        {"calc", "KDE", "org.kde.kcalc.desktop"},
        {"SnippingTool", "LXQt", "screengrab.desktop"},
        // Entries no Linux program can serve.
        {"dfrgui.exe", "GNOME", "none"},
        {"mip", "KDE", "none"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FirstToolOn(c.command, c.desktop), c.first) << c.command << " on " << c.desktop;
    }
}

TEST(AppPaths, ShippedTableTriesTheUsersOwnApplicationFirstForEverydayJobs) {
    const std::pair<const char*, const char*> cases[] = {
        {"notepad", "text/plain"},    {"iexplore", "http"},
        {"microsoft-edge:", "http"},  {"outlook", "mailto"},
        {"outlookmail:", "mailto"},   {"explorer", "inode/directory"},
        {"wmplayer", "audio/mpeg"},   {"mswindowsvideo:", "video/mp4"},
        {"ms-photos:", "image/jpeg"}, {"xpsrchvw", "application/vnd.ms-xpsdocument"},
    };
    for (const auto& [command, type] : cases) {
        const AppPathEntry* entry = FindAppPath(DefaultAppPaths(), command);
        ASSERT_NE(entry, nullptr) << command;
        const std::vector<StandInAttempt> attempts = OrderedAttempts(*entry, "KDE");
        ASSERT_FALSE(attempts.empty()) << command;
        EXPECT_EQ(attempts.front().candidate->name, type) << command;
        EXPECT_FALSE(attempts.front().anyRegistered) << command;
    }
}

TEST(AppPaths, CommandsForTheSameJobOfferTheSameStandIns) {
    const AppPaths& table = DefaultAppPaths();
    for (const auto& [first, second] :
         {std::pair{"cmd.exe", "powershell"}, std::pair{"control", "ms-settings:"}, std::pair{"calc", "calculator:"},
          std::pair{"mspaint", "ms-paint:"}, std::pair{"iexplore", "microsoft-edge:"},
          std::pair{"onenote", "onenote-cmd:"}, std::pair{"wordpad", "winword"}}) {
        const AppPathEntry* one = FindAppPath(table, first);
        const AppPathEntry* other = FindAppPath(table, second);
        ASSERT_NE(one, nullptr) << first;
        ASSERT_NE(other, nullptr) << second;
        ASSERT_EQ(one->candidates.size(), other->candidates.size()) << first << " and " << second;
        for (std::size_t i = 0; i < one->candidates.size(); ++i) {
            EXPECT_EQ(Describe(one->candidates[i]), Describe(other->candidates[i])) << first << " and " << second;
        }
    }
}

}  // namespace
}  // namespace nagitori::posix
