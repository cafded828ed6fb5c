#include <glib.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>

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
    const std::filesystem::path path = PosixSystem(PosixEnvironment::FromProcess(), {}).ExecutablePath();
    EXPECT_TRUE(path.is_absolute());
    EXPECT_EQ(path.filename(), "nagitori_core_tests");
    EXPECT_TRUE(std::filesystem::equivalent(path, "/proc/self/exe"));
}

TEST(PosixSystem, ExecutablePathOutlivesTheReplacementOfTheFile) {
    test::TempDir dir;
    const std::filesystem::path folder = dir / "ナギトリ";
    std::filesystem::create_directory(folder);
    const std::filesystem::path program = folder / "nagitori";
    std::filesystem::copy_file(
        PosixEnvironment::FromProcess().executable.parent_path() / "nagitori_executable_path_probe", program);
    const std::string programText = program.string();
    gchar* argv[] = {const_cast<gchar*>(programText.c_str()), nullptr};
    GPid child = 0;
    gint input = -1;
    gint output = -1;
    ASSERT_TRUE(g_spawn_async_with_pipes(nullptr, argv, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &child,
                                         &input, &output, nullptr, nullptr));
    std::string printed;
    const auto readLine = [&] {
        for (char c = 0; read(output, &c, 1) == 1 && c != '\n';) {
            printed += c;
        }
        return std::exchange(printed, {});
    };
    ASSERT_EQ(readLine(), "started");
    // An upgrade puts a new file in its place while the old one runs.
    test::WriteFileBytes(folder / "new", "#!/bin/sh\n");
    std::filesystem::rename(folder / "new", program);
    ASSERT_EQ(write(input, "\n", 1), 1);
    const std::string settings = readLine();
    close(input);
    close(output);
    int status = 0;
    waitpid(child, &status, 0);
    g_spawn_close_pid(child);
    EXPECT_EQ(settings, (folder / "nagitori.ini").string());
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
