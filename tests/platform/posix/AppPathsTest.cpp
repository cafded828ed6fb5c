#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/posix/AppPaths.h"
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

std::string Describe(const std::vector<AppPathCandidate>& candidates) {
    std::string text;
    for (const AppPathCandidate& candidate : candidates) {
        text += (text.empty() ? "" : ", ") + Describe(candidate);
    }
    return text;
}

TEST(AppPaths, ShippedTableHasExactlyOneEntryPerCatalogueCommand) {
    const AppPaths& table = DefaultAppPaths();
    const std::vector<std::string> commands = BuildToolRunCommand();
    for (const std::string& command : commands) {
        const AppPathEntry* entry = FindAppPath(table, command);
        ASSERT_NE(entry, nullptr) << command;
        EXPECT_EQ(entry->name, command) << "entries are spelt as the catalogue spells them";
    }
    for (const AppPathEntry& entry : table) {
        EXPECT_EQ(FindAppPath(table, entry.name), &entry) << "a second entry shadows " << entry.name;
        EXPECT_NE(std::find(commands.begin(), commands.end(), entry.name), commands.end())
            << entry.name << " is no catalogue command";
    }
}

TEST(AppPaths, ShippedCandidatesAreBareProgramNamesWithLiteralArguments) {
    // Programs are looked up on PATH and arguments handed over without a shell: paths, blanks and shell syntax
    // have no place here.
    const std::string_view shellSyntax = " \t\n\\'\"`$;&|<>*?~#()[]{}!";
    for (const AppPathEntry& entry : DefaultAppPaths()) {
        for (auto candidate = entry.candidates.begin(); candidate != entry.candidates.end(); ++candidate) {
            const std::string described = entry.name + ": " + Describe(*candidate);
            EXPECT_FALSE(candidate->name.empty()) << described;
            EXPECT_EQ(candidate->name.find('/'), std::string::npos) << described;
            EXPECT_EQ(candidate->name.find_first_of(shellSyntax), std::string::npos) << described;
            for (const std::string& argument : candidate->arguments) {
                EXPECT_FALSE(argument.empty()) << described;
                EXPECT_EQ(argument.find_first_of(shellSyntax), std::string::npos) << described;
            }
            EXPECT_TRUE(std::none_of(
                entry.candidates.begin(), candidate,
                [&](const AppPathCandidate& earlier) { return Describe(earlier) == Describe(*candidate); }))
                << "listed twice: " << described;
        }
    }
}

TEST(AppPaths, ShippedTableOffersTheRightKindOfProgramOnEachMajorDesktop) {
    struct Case {
        const char* name;
        const char* first;
        std::vector<const char*> alsoOffered;
    };
    const Case cases[] = {
        {"cmd.exe", "x-terminal-emulator", {"gnome-terminal", "konsole", "xfce4-terminal", "xterm"}},
        {"control", "gnome-control-center", {"systemsettings", "xfce4-settings-manager"}},
        {"taskmgr.exe", "gnome-system-monitor --show-processes-tab", {"plasma-systemmonitor", "xfce4-taskmanager"}},
        {"perfmon.exe", "gnome-system-monitor --show-resources-tab", {"plasma-systemmonitor", "xfce4-taskmanager"}},
        {"notepad", "gnome-text-editor", {"kwrite", "mousepad"}},
        {"calc", "gnome-calculator", {"kcalc", "galculator"}},
        {"excel", "libreoffice --calc", {}},
        {"winword", "libreoffice --writer", {}},
        {"powerpnt", "libreoffice --impress", {}},
        {"wordpad", "libreoffice --writer", {"abiword"}},
        {"iexplore", "x-www-browser", {"firefox-esr", "chromium"}},
        {"explorer", "nautilus", {"dolphin", "thunar"}},
        {"charmap", "gucharmap", {"gnome-characters", "kcharselect"}},
        {"SnippingTool", "gnome-screenshot --interactive", {"spectacle", "xfce4-screenshooter"}},
        {"outlookmail:", "thunderbird", {"evolution", "kmail"}},
    };
    const AppPaths& table = DefaultAppPaths();
    for (const Case& c : cases) {
        const AppPathEntry* entry = FindAppPath(table, c.name);
        ASSERT_NE(entry, nullptr) << c.name;
        ASSERT_FALSE(entry->candidates.empty()) << c.name;
        EXPECT_EQ(Describe(entry->candidates.front()), c.first) << c.name;
        for (const char* program : c.alsoOffered) {
            EXPECT_TRUE(std::any_of(entry->candidates.begin(), entry->candidates.end(),
                                    [program](const AppPathCandidate& candidate) { return candidate.name == program; }))
                << c.name << " lacks " << program << ": " << Describe(entry->candidates);
        }
    }
}

TEST(AppPaths, CommandsForTheSameJobOfferTheSameStandIns) {
    const AppPaths& table = DefaultAppPaths();
    for (const auto& [first, second] :
         {std::pair{"cmd.exe", "powershell"}, std::pair{"control", "ms-settings:"}, std::pair{"calc", "calculator:"},
          std::pair{"mspaint", "ms-paint:"}, std::pair{"wmplayer", "mswindowsvideo:"},
          std::pair{"iexplore", "microsoft-edge:"}, std::pair{"onenote", "onenote-cmd:"},
          std::pair{"outlook", "outlookmail:"}}) {
        const AppPathEntry* one = FindAppPath(table, first);
        const AppPathEntry* other = FindAppPath(table, second);
        ASSERT_NE(one, nullptr) << first;
        ASSERT_NE(other, nullptr) << second;
        EXPECT_EQ(Describe(one->candidates), Describe(other->candidates)) << first << " and " << second;
    }
}

}  // namespace
}  // namespace nagitori::posix
