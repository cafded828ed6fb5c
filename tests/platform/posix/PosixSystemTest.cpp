#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/PosixSystem.h"
#include "support/TempDir.h"

namespace nagitori::posix {
namespace {

TEST(PosixSystem, AppDataFolderPrefersAnAbsoluteXdgConfigHome) {
    struct Case {
        std::string xdgConfigHome;
        std::string home;
        std::filesystem::path folder;
    };
    const Case cases[] = {
        {"/x/config", "/home/user", "/x/config"},
        {"relative/config", "/home/user", "/home/user/.config"},
        {"", "/home/user", "/home/user/.config"},
        {"", "relative-home", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        PosixEnvironment environment;
        environment.xdgConfigHome = c.xdgConfigHome;
        environment.home = c.home;
        EXPECT_EQ(PosixSystem(environment, {}).AppDataFolder(), c.folder) << c.xdgConfigHome << " / " << c.home;
    }
}

TEST(PosixSystem, ExecutablePathIsThisProgram) {
    const std::filesystem::path path = PosixSystem({}, {}).ExecutablePath();
    EXPECT_TRUE(path.is_absolute());
    EXPECT_EQ(path.filename(), "nagitori_core_tests");
    EXPECT_TRUE(std::filesystem::equivalent(path, "/proc/self/exe"));
}

TEST(PosixSystem, RunKeyIsTheAutostartFolderOfTheFirstConfigDir) {
    test::TempDir dir;
    PosixEnvironment environment;
    environment.xdgConfigDirs = dir.Path().string() + ":/etc/xdg";
    PosixSystem system(environment, {});
    EXPECT_EQ(system.OpenRunKey(), nullptr);  // never created

    std::filesystem::create_directory(dir / "autostart");
    std::unique_ptr<RunKey> key = system.OpenRunKey();
    ASSERT_NE(key, nullptr);
    key->WriteString("Nagitori", "/opt/ナギトリ/nagitori");
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "autostart" / "Nagitori.desktop"));
    EXPECT_EQ(system.OpenRunKey()->ReadString("Nagitori"), "/opt/ナギトリ/nagitori");
}

}  // namespace
}  // namespace nagitori::posix
