#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "platform/posix/PosixSystem.h"
#include "support/TempDir.h"
#include "support/UnansweredFifo.h"

namespace nagitori::posix {
namespace {

namespace fs = std::filesystem;

bool Names(const IconReference& icon, const std::string& name) {
    return std::find(icon.themeNames.begin(), icon.themeNames.end(), name) != icon.themeNames.end();
}

struct IconCase {
    std::string what;
    std::string target;
    std::string icon;  // empty: no icon
};

void ExpectIcons(PosixSystem& system, const std::vector<IconCase>& cases) {
    for (const IconCase& c : cases) {
        const IconReference icon = system.IconFor(c.target);
        if (c.icon.empty()) {
            EXPECT_TRUE(icon.Empty()) << c.what;
        } else {
            EXPECT_TRUE(Names(icon, c.icon)) << c.what;
        }
    }
}

// Against a desktop database of the test's own: which icon each kind of target shows.
TEST(Icons, ApplicationsShowTheirOwnDocumentsTheirContentTypes) {
    const test::IsolatedDesktop& desktop = test::IsolateDesktopDatabase();
    ASSERT_TRUE(desktop.isolated);
    test::TempDir temp;
    test::WriteFileBytes(temp / "notes.txt", "text\n");
    fs::create_directory(temp / "folder");
    test::WriteFileBytes(temp / "own.desktop", "[Desktop Entry]\nType=Application\nName=Own\nExec=" +
                                                   desktop.app.string() + "\nIcon=nagitori-own-icon\n");
    test::WriteFileBytes(temp / "lonely", "#!/bin/sh\n");
    fs::permissions(temp / "lonely", fs::perms::owner_all);
    PosixEnvironment environment;
    environment.path = desktop.app.parent_path().string();
    PosixSystem system(environment, {{"nagitori-tool", {{"nagitori-test-app.desktop", {}, StandInKind::DesktopFile}}},
                                     {"nagitori-missing", {{"absent.desktop", {}, StandInKind::DesktopFile}}}});

    const std::vector<IconCase> cases = {
        {"a desktop file", (temp / "own.desktop").string(), "nagitori-own-icon"},
        {"a program an installed application runs", desktop.app.string(), "nagitori-test-app"},
        {"the same program by its name on PATH", desktop.app.filename().string(), "nagitori-test-app"},
        {"a program no application runs", (temp / "lonely").string(), "application-x-shellscript"},
        {"a document", (temp / "notes.txt").string(), "text-plain"},
        {"a folder", (temp / "folder").string(), "folder"},
        {"a stand-in", "nagitori-tool", "nagitori-test-app"},
        {"a URI's handler", "nagitori-test:page", "nagitori-test-handler"},
        {"a missing file", (temp / "missing").string(), ""},
        {"a stand-in that is not installed", "nagitori-missing", ""},
        {"nothing at all", "", ""},
    };
    ExpectIcons(system, cases);
    EXPECT_TRUE(Names(system.StandInFor("nagitori-tool")->icon, "nagitori-test-app"));
}

// What stands at a registered path is looked at before it is opened: nothing there makes the lookup wait, and no
// file is read without end.
TEST(Icons, PathsThatAreNoRegularFileOrTooBigNeverHoldUpTheLookup) {
    test::TempDir temp;
    const test::UnansweredFifo fifo(temp / "fifo.desktop");
    fs::create_directory(temp / "folder.desktop");
    fs::create_symlink(temp / "missing.desktop", temp / "dangling.desktop");
    const std::string entry = "[Desktop Entry]\nType=Application\nName=Own\nExec=/bin/true\nIcon=nagitori-own-icon\n";
    test::WriteFileBytes(temp / "small.desktop", entry);
    test::WriteFileBytes(temp / "big.desktop", entry + "# " + std::string(1024 * 1024, 'x') + "\n");
    PosixSystem system(PosixEnvironment{}, {});

    const std::vector<IconCase> cases = {
        {"a FIFO", (temp / "fifo.desktop").string(), "inode-fifo"},
        {"a folder", (temp / "folder.desktop").string(), "folder"},
        {"a dangling link", (temp / "dangling.desktop").string(), ""},
        {"an entry", (temp / "small.desktop").string(), "nagitori-own-icon"},
        {"an entry of more than a mebibyte", (temp / "big.desktop").string(), "application-x-desktop"},
    };
    ExpectIcons(system, cases);
    EXPECT_FALSE(fifo.ReaderWasStuck());
}

}  // namespace
}  // namespace nagitori::posix
