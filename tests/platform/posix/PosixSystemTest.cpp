#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/PosixSystem.h"

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

}  // namespace
}  // namespace nagitori::posix
