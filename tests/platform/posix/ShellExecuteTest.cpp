#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <glib.h>

#include "ShellTestSupport.h"
#include "platform/posix/PosixSystem.h"
#include "platform/posix/ShellResults.h"
#include "support/TempDir.h"

namespace nagitori::posix {
namespace {

namespace fs = std::filesystem;
using test::WaitForMarker;

constexpr fs::perms kExecutable = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec;
constexpr fs::perms kNotExecutable = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;

LaunchRequest Request(const std::string& verb, const std::string& target, const std::string& parameters = "",
                      const std::string& directory = "") {
    LaunchRequest request;
    request.verb = verb;
    request.target = target;
    request.parameters = parameters;
    request.directory = directory;
    return request;
}

class ShellExecuteTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(desktop_.isolated) << "GIO read the real desktop database before the tests could isolate it";
        fs::create_directory(bin_);
        fs::create_directory(work_);
        fs::remove(desktop_.handlerMarker);
        environment_.path = bin_.string() + ":/usr/bin:/bin";
    }

    void TearDown() override {
        // Whatever was started must not stay behind as our child: detached programs never are one, and a
        // watched pkexec is reaped once the main context runs.
        EXPECT_TRUE(test::IterateMainContextUntil([] { return test::ChildrenOfThisProcess().empty(); }));
    }

    PosixSystem MakeSystem(bool admin = false, AppPaths table = {}) {
        return PosixSystem(environment_, std::move(table), [admin] { return admin; });
    }

    fs::path MarkerScript(const std::string& name) {
        test::WriteMarkerScript(bin_ / name, marker_);
        return bin_ / name;
    }

    void WriteFile(const fs::path& path, const std::string& bytes, fs::perms perms) {
        test::WriteFileBytes(path, bytes);
        fs::permissions(path, perms);
    }

    const test::IsolatedDesktop& desktop_ = test::IsolateDesktopDatabase();
    test::TempDir temp_;
    const fs::path bin_ = temp_ / "bin";
    const fs::path work_ = temp_ / "work";
    const fs::path marker_ = temp_ / "marker";
    PosixEnvironment environment_;
};

TEST_F(ShellExecuteTest, SplitsParametersIntoArgumentsAndStartsInTheWorkingFolder) {
    struct Case {
        std::string parameters;
        std::vector<std::string> arguments;
    };
    const Case cases[] = {
        {"", {}},
        {" \t ", {}},
        {"one two", {"one", "two"}},
        {R"("two words"  'single quoted' plain)", {"two words", "single quoted", "plain"}},
        {R"("" x)", {"", "x"}},
        {R"(a\ b)", {"a b"}},
        {"ナギトリ \"日本 語\"", {"ナギトリ", "日本 語"}},
        {"--color #ff0000 issue #12 $HOME *", {"--color", "#ff0000", "issue", "#12", "$HOME", "*"}},
        {"Tom's file.txt", {"Tom's", "file.txt"}},
    };
    const fs::path tool = MarkerScript("tool");
    PosixSystem system = MakeSystem();
    for (const Case& c : cases) {
        fs::remove(marker_);
        ASSERT_EQ(system.ShellExecute(Request("open", tool.string(), c.parameters, work_.string())), kShellSuccess)
            << c.parameters;
        const std::optional<test::Marker> marker = WaitForMarker(marker_);
        ASSERT_TRUE(marker) << c.parameters;
        EXPECT_EQ(marker->lines, test::MarkerLines(work_, tool, c.arguments)) << c.parameters;
        EXPECT_NE(marker->parent, getpid()) << "started as our own child: " << c.parameters;
    }
}

TEST_F(ShellExecuteTest, EmptyDirectoryLeavesOurWorkingFolder) {
    const fs::path tool = MarkerScript("tool");
    ASSERT_EQ(MakeSystem().ShellExecute(Request("", tool.string(), "x", "")), kShellSuccess);
    const std::optional<test::Marker> marker = WaitForMarker(marker_);
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->lines, test::MarkerLines(fs::current_path(), tool, {"x"}));
}

TEST_F(ShellExecuteTest, ReportsFailuresWithTheShellCodes) {
    const fs::path tool = MarkerScript("tool");
    fs::copy_file("/bin/true", temp_ / "elf-without-x");
    fs::permissions(temp_ / "elf-without-x", kNotExecutable);
    WriteFile(temp_ / "garbage-with-x", std::string("\x01\x02\x03 garbage\n", 12), kExecutable);
    WriteFile(temp_ / "data.bin", std::string("\x00\x01\x02\xff\xfe", 5), kNotExecutable);
    WriteFile(temp_ / "no-exec.desktop", "[Desktop Entry]\nType=Application\nName=No command\n", kExecutable);
    WriteFile(temp_ / "not-an-entry.desktop", "just some text\n", kExecutable);

    struct Case {
        std::string what;
        std::string target;
        std::string directory;
        int result;
    };
    const Case cases[] = {
        {"missing file", (temp_ / "missing").string(), "", kShellFileNotFound},
        {"missing bare name", "nagitori-no-such-program", "", kShellFileNotFound},
        {"empty target", "", "", kShellFileNotFound},
        {"drive path, not a URI", R"(C:\Windows\notepad.exe)", "", kShellFileNotFound},
        {"file used as a folder", (tool / "inside").string(), "", kShellPathNotFound},
        {"missing working folder", tool.string(), (temp_ / "nowhere").string(), kShellPathNotFound},
        {"working folder is a file", tool.string(), tool.string(), kShellPathNotFound},
        {"desktop file without a command", (temp_ / "no-exec.desktop").string(), "", kShellBadFormat},
        {"desktop file GIO cannot read", (temp_ / "not-an-entry.desktop").string(), "", kShellBadFormat},
        // Without execute permission a program is a document like any other, and these have no application.
        {"ELF without execute bits", (temp_ / "elf-without-x").string(), "", kShellNoAssociation},
        {"execute bits, no known format", (temp_ / "garbage-with-x").string(), "", kShellNoAssociation},
        {"document without handler", (temp_ / "data.bin").string(), "", kShellNoAssociation},
        {"scheme without handler", "nagitori-nohandler:page", "", kShellNoAssociation},
    };
    PosixSystem system = MakeSystem();
    for (const Case& c : cases) {
        EXPECT_EQ(system.ShellExecute(Request("open", c.target, "", c.directory)), c.result) << c.what;
    }
    EXPECT_FALSE(test::WaitForLines(marker_, std::chrono::milliseconds(300))) << "a failed launch ran something";
    EXPECT_FALSE(test::WaitForLines(desktop_.handlerMarker, std::chrono::milliseconds(1))) << "a handler ran";
}

// Only an ELF or "#!" file with execute permission runs; a desktop file starts its application; everything else
// opens with its default application, whatever its permission bits.
TEST_F(ShellExecuteTest, ProgramsRunAndEverythingElseOpensWithItsApplication) {
    const fs::path script = MarkerScript("script");
    fs::copy_file("/bin/cp", temp_ / "elf");
    WriteFile(temp_ / "elf-source", "copied", kNotExecutable);
    WriteFile(temp_ / "script-without-x", "#!/bin/sh\nexit 0\n", kNotExecutable);
    WriteFile(temp_ / "notes.txt", "shared from a FAT stick\n", kExecutable);
    WriteFile(temp_ / "app.desktop",
              "[Desktop Entry]\nType=Application\nName=App\nExec=" + script.string() + " --from-desktop %F\n",
              kNotExecutable);
    const fs::path folder = temp_ / "folder";
    fs::create_directory(folder);

    struct Case {
        std::string what;
        fs::path target;
        std::string parameters;
        fs::path marker;                 // which marker the start leaves
        std::vector<std::string> lines;  // from "$0" on
    };
    const std::string work = work_.string();
    const Case cases[] = {
        {"script with execute bits", script, "a 'b c'", marker_, {script.string(), "2", "a", "b c"}},
        {"desktop file",
         temp_ / "app.desktop",
         "one 'two words'",
         marker_,
         {script.string(), "3", "--from-desktop", "one", "two words"}},
        {"script without execute bits",
         temp_ / "script-without-x",
         "ignored",
         desktop_.handlerMarker,
         {desktop_.handler.string(), "1", (temp_ / "script-without-x").string()}},
        {"text with execute bits",
         temp_ / "notes.txt",
         "",
         desktop_.handlerMarker,
         {desktop_.handler.string(), "1", (temp_ / "notes.txt").string()}},
        {"folder", folder, "", desktop_.handlerMarker, {desktop_.handler.string(), "1", folder.string()}},
    };
    PosixSystem system = MakeSystem();
    for (const Case& c : cases) {
        fs::remove(c.marker);
        ASSERT_EQ(system.ShellExecute(Request("open", c.target.string(), c.parameters, work)), kShellSuccess) << c.what;
        const std::optional<test::Marker> marker = WaitForMarker(c.marker);
        ASSERT_TRUE(marker) << c.what;
        EXPECT_EQ(std::vector<std::string>(marker->lines.begin() + 1, marker->lines.end()), c.lines) << c.what;
        if (c.marker == marker_) {
            EXPECT_EQ(marker->lines.front(), fs::canonical(work_).string()) << c.what;
        }
    }

    ASSERT_EQ(system.ShellExecute(Request("", (temp_ / "elf").string(), "elf-source elf-copy", temp_.Path().string())),
              kShellSuccess);
    const std::optional<std::vector<std::string>> copied = test::WaitForLines(temp_ / "elf-copy");
    ASSERT_TRUE(copied);
    EXPECT_EQ(*copied, std::vector<std::string>{"copied"});
}

TEST_F(ShellExecuteTest, ReturnsAtOnceAndTheProgramIsNotOurChild) {
    const fs::path pidFile = temp_ / "pid";
    WriteFile(bin_ / "sleeper",
              "#!/bin/sh\necho $$ > '" + pidFile.string() + ".part' && mv '" + pidFile.string() + ".part' '" +
                  pidFile.string() + "'\nexec sleep 5\n",
              kExecutable);
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_EQ(MakeSystem().ShellExecute(Request("open", (bin_ / "sleeper").string())), kShellSuccess);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(1)) << "waited for the program";

    const std::optional<std::vector<std::string>> pid = test::WaitForLines(pidFile);
    ASSERT_TRUE(pid && pid->size() == 1);
    EXPECT_TRUE(test::ChildrenOfThisProcess().empty()) << "the running program is our child";
    kill(static_cast<pid_t>(std::stol(pid->front())), SIGTERM);
}

TEST_F(ShellExecuteTest, BareNamesComeFromOurFolderBeforePath) {
    const fs::path here = temp_ / "here";
    fs::create_directory(here);
    const fs::path onPath = MarkerScript("tool");
    test::WriteMarkerScript(here / "tool", marker_);
    const fs::path previous = fs::current_path();
    PosixSystem system = MakeSystem();

    fs::current_path(here);
    const int fromHere = system.ShellExecute(Request("open", "tool", "", work_.string()));
    const std::optional<test::Marker> hereMarker = WaitForMarker(marker_);
    fs::remove(here / "tool");
    fs::remove(marker_);
    const int fromPath = system.ShellExecute(Request("open", "tool", "", work_.string()));
    const std::optional<test::Marker> pathMarker = WaitForMarker(marker_);
    fs::current_path(previous);

    EXPECT_EQ(fromHere, kShellSuccess);
    ASSERT_TRUE(hereMarker);
    EXPECT_EQ(hereMarker->lines, test::MarkerLines(work_, here / "tool", {}));
    EXPECT_EQ(fromPath, kShellSuccess);
    ASSERT_TRUE(pathMarker);
    EXPECT_EQ(pathMarker->lines, test::MarkerLines(work_, onPath, {}));
}

TEST_F(ShellExecuteTest, DocumentsFoldersAndUrisOpenWithTheirDefaultHandler) {
    test::WriteFileBytes(temp_ / "notes.txt", "ナギトリ\n");
    const fs::path folder = temp_ / "folder";
    fs::create_directory(folder);
    struct Case {
        std::string target;
        std::string handed;
    };
    const Case cases[] = {
        {(temp_ / "notes.txt").string(), (temp_ / "notes.txt").string()},
        {folder.string(), folder.string()},
        {"nagitori-test:two words", "nagitori-test:two words"},
    };
    PosixSystem user = MakeSystem(false);
    for (const Case& c : cases) {
        fs::remove(desktop_.handlerMarker);
        ASSERT_EQ(user.ShellExecute(Request("open", c.target, "ignored", work_.string())), kShellSuccess) << c.target;
        const std::optional<test::Marker> marker = WaitForMarker(desktop_.handlerMarker);
        ASSERT_TRUE(marker) << c.target;
        ASSERT_EQ(marker->lines.size(), 4u) << c.target;
        EXPECT_EQ(marker->lines[1], desktop_.handler.string());
        EXPECT_EQ(marker->lines[3], c.handed);
        // A desktop handler cannot be elevated.
        EXPECT_EQ(user.ShellExecute(Request("runas", c.target)), kShellNoAssociation) << c.target;
    }
}

TEST_F(ShellExecuteTest, StandInTakesItsFixedArgumentsBeforeTheParameters) {
    const fs::path standIn = MarkerScript("stand-in");
    PosixSystem system = MakeSystem(
        false, {{"Nagitori-Tool", {{"absent-program", {"--never"}}, {"stand-in", {"--fixed", "two words"}}}}});
    ASSERT_EQ(system.ShellExecute(Request("open", "nagitori-TOOL", "p1 'p 2'", work_.string())), kShellSuccess);
    const std::optional<test::Marker> marker = WaitForMarker(marker_);
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->lines, test::MarkerLines(work_, standIn, {"--fixed", "two words", "p1", "p 2"}));
}

TEST_F(ShellExecuteTest, StandInServesAUriScheme) {
    const fs::path standIn = MarkerScript("stand-in");
    PosixSystem system = MakeSystem(false, {{"nagitori-app:", {{"stand-in", {"--app"}}}}});
    ASSERT_EQ(system.ShellExecute(Request("open", "Nagitori-App:page", "", work_.string())), kShellSuccess);
    const std::optional<test::Marker> marker = WaitForMarker(marker_);
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->lines, test::MarkerLines(work_, standIn, {"--app"}));
}

TEST_F(ShellExecuteTest, UriWithoutInstalledStandInGoesToTheSchemesOwnHandler) {
    PosixSystem system = MakeSystem(false, {{"nagitori-test:", {{"absent-program", {}}}}, {"nagitori-none:", {}}});
    ASSERT_EQ(system.ShellExecute(Request("open", "nagitori-test:page")), kShellSuccess);
    const std::optional<test::Marker> marker = WaitForMarker(desktop_.handlerMarker);
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->lines.at(3), "nagitori-test:page");
    EXPECT_EQ(system.ShellExecute(Request("open", "nagitori-none:page")), kShellNoAssociation);
}

TEST_F(ShellExecuteTest, NameOnPathWinsOverTheTable) {
    const fs::path direct = MarkerScript("direct");
    MarkerScript("stand-in");
    PosixSystem system = MakeSystem(false, {{"direct", {{"stand-in", {}}}}});
    ASSERT_EQ(system.ShellExecute(Request("open", "direct", "", work_.string())), kShellSuccess);
    const std::optional<test::Marker> marker = WaitForMarker(marker_);
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->lines, test::MarkerLines(work_, direct, {}));
}

TEST_F(ShellExecuteTest, TableEntryWithoutCandidateOnPathIsNotFound) {
    PosixSystem system = MakeSystem(false, {{"lonely", {{"absent-one", {}}, {"absent-two", {"--x"}}}}});
    EXPECT_EQ(system.ShellExecute(Request("open", "lonely")), kShellFileNotFound);
}

// The launch fails as a refused prompt would, and the platform can tell what is missing, for its notice.
TEST_F(ShellExecuteTest, RunAsWithoutPkexecIsAccessDeniedAndNamesThePackage) {
    const fs::path tool = MarkerScript("tool");
    environment_.path = bin_.string();
    PosixSystem user = MakeSystem(false);
    EXPECT_EQ(user.ShellExecute(Request("runas", tool.string())), kShellAccessDenied);
    const std::optional<MissingProgram> missing = user.MissingElevation();
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->program, "pkexec");
    EXPECT_EQ(missing->packages, std::vector<std::string>{"pkexec"});
    EXPECT_FALSE(MakeSystem(true).MissingElevation()) << "root needs no prompt";
    MarkerScript("pkexec");
    EXPECT_FALSE(user.MissingElevation());
}

TEST_F(ShellExecuteTest, RunAsGoesThroughPkexecAsOurChildWithTheDisplay) {
    const fs::path pkexec = MarkerScript("pkexec");
    const fs::path standIn = bin_ / "stand-in";
    WriteFile(standIn, "#!/bin/sh\n", kExecutable);
    const std::string env = environment_.FindProgram("env").value_or("").string();
    ASSERT_FALSE(env.empty());

    // The Wayland socket by its full path: root's runtime folder is not the user's.
    struct Case {
        std::string display, xauthority, wayland, runtime;
        std::vector<std::string> passed;
    };
    const Case cases[] = {
        {":7",
         "/tmp/auth file",
         "wayland-3",
         "/run/user/1000",
         {"DISPLAY=:7", "XAUTHORITY=/tmp/auth file", "WAYLAND_DISPLAY=/run/user/1000/wayland-3"}},
        {"", "", "/run/user/1000/wayland-0", "/elsewhere", {"WAYLAND_DISPLAY=/run/user/1000/wayland-0"}},
        {":0", "", "wayland-0", "", {"DISPLAY=:0"}},
        {"", "", "wayland-0", "relative", {}},
        {"", "", "", "/run/user/1000", {}},
    };
    for (const Case& c : cases) {
        environment_.display = c.display;
        environment_.xauthority = c.xauthority;
        environment_.waylandDisplay = c.wayland;
        environment_.xdgRuntimeDir = c.runtime;
        PosixSystem system = MakeSystem(false, {{"nagitori-tool", {{"stand-in", {"--fixed"}}}}});
        fs::remove(marker_);
        ASSERT_EQ(system.ShellExecute(Request("RunAs", "nagitori-tool", "'a b'", work_.string())), kShellSuccess);
        const std::optional<test::Marker> marker = WaitForMarker(marker_);
        ASSERT_TRUE(marker);
        std::vector<std::string> arguments = {"--keep-cwd", env};
        arguments.insert(arguments.end(), c.passed.begin(), c.passed.end());
        arguments.insert(arguments.end(), {standIn.string(), "--fixed", "a b"});
        EXPECT_EQ(marker->lines, test::MarkerLines(work_, pkexec, arguments));
        EXPECT_EQ(marker->parent, getpid()) << "pkexec refuses an orphaned parent";
        EXPECT_TRUE(test::IterateMainContextUntil([] { return test::ChildrenOfThisProcess().empty(); }))
            << "pkexec was not reaped";
    }
}

TEST_F(ShellExecuteTest, RunAsRunsAProgramWhosePathHoldsAnEqualsSign) {
    // This pkexec grants at once: it drops its option and runs the rest as the real one would.
    WriteFile(bin_ / "pkexec", "#!/bin/sh\nshift\nexec \"$@\"\n", kExecutable);
    fs::create_directory(temp_ / "a=b");
    test::WriteMarkerScript(temp_ / "a=b" / "tool", marker_);
    environment_.display = ":7";
    ASSERT_EQ(MakeSystem(false).ShellExecute(Request("runas", (temp_ / "a=b" / "tool").string(), "x", work_.string())),
              kShellSuccess);
    const std::optional<test::Marker> marker = WaitForMarker(marker_);
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->lines, test::MarkerLines(work_, temp_ / "a=b" / "tool", {"x"}));
}

TEST_F(ShellExecuteTest, RunAsAsAdministratorStartsDirectly) {
    MarkerScript("pkexec");
    const fs::path tool = MarkerScript("tool");
    ASSERT_EQ(MakeSystem(true).ShellExecute(Request("runas", tool.string(), "x", work_.string())), kShellSuccess);
    const std::optional<test::Marker> marker = WaitForMarker(marker_);
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->lines, test::MarkerLines(work_, tool, {"x"}));
}

// pkexec asks for a password and then either execs the program or exits 126 (dismissed) or 127 (refused);
// like the Windows elevation prompt, the launch returns only then, and the program's windows go on repainting.
TEST_F(ShellExecuteTest, RunAsAnswersOnceThePromptIsAnswered) {
    const fs::path pidFile = temp_ / "pid";
    WriteFile(bin_ / "long-running",
              "#!/bin/sh\necho $$ > '" + pidFile.string() + ".part' && mv '" + pidFile.string() + ".part' '" +
                  pidFile.string() + "'\nexec sleep 5\n",
              kExecutable);
    struct Case {
        std::string what;
        std::string pkexec;
        int result;
    };
    const Case cases[] = {
        {"dismissed", "sleep 0.3; exit 126", kShellAccessDenied},
        {"refused", "sleep 0.3; exit 127", kShellAccessDenied},
        {"granted", "sleep 0.3; shift; exec \"$@\"", kShellSuccess},
    };
    for (const Case& c : cases) {
        WriteFile(bin_ / "pkexec", "#!/bin/sh\n" + c.pkexec + "\n", kExecutable);
        fs::remove(pidFile);
        int ticks = 0;
        const guint timer = g_timeout_add(
            20,
            [](gpointer count) -> gboolean {
                ++*static_cast<int*>(count);
                return G_SOURCE_CONTINUE;
            },
            &ticks);
        const auto begin = std::chrono::steady_clock::now();
        const int result = MakeSystem(false).ShellExecute(Request("runas", (bin_ / "long-running").string()));
        const auto waited = std::chrono::steady_clock::now() - begin;
        g_source_remove(timer);

        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_GE(waited, std::chrono::milliseconds(300)) << c.what << ": returned before the answer";
        EXPECT_LT(waited, std::chrono::seconds(4)) << c.what << ": waited for the program itself";
        EXPECT_GE(ticks, 5) << c.what << ": events were not handled while waiting";
        if (c.result == kShellSuccess) {
            const std::optional<std::vector<std::string>> pid = test::WaitForLines(pidFile);
            ASSERT_TRUE(pid && pid->size() == 1) << c.what;
            kill(static_cast<pid_t>(std::stol(pid->front())), SIGTERM);
        } else {
            EXPECT_FALSE(fs::exists(pidFile)) << c.what;
        }
    }
}

TEST_F(ShellExecuteTest, StandInNeverGetsTheCatalogueWindowsArgument) {
    const fs::path standIn = MarkerScript("stand-in");
    PosixSystem system = MakeSystem(false, {{"nagitori-tool", {{"stand-in", {"--processes"}}}, "/7"}});
    struct Case {
        std::string parameters;
        std::vector<std::string> arguments;
    };
    for (const Case& c : {Case{"/7", {"--processes"}}, Case{"/7 x", {"--processes", "/7", "x"}}}) {
        fs::remove(marker_);
        ASSERT_EQ(system.ShellExecute(Request("open", "nagitori-tool", c.parameters, work_.string())), kShellSuccess);
        const std::optional<test::Marker> marker = WaitForMarker(marker_);
        ASSERT_TRUE(marker) << c.parameters;
        EXPECT_EQ(marker->lines, test::MarkerLines(work_, standIn, c.arguments)) << c.parameters;
    }
}

TEST_F(ShellExecuteTest, DesktopFileStandInStartsOnceWithTheWordsAsTyped) {
    PosixSystem system =
        MakeSystem(false, {{"nagitori-tool", {{"nagitori-test-app.desktop", {}, StandInKind::DesktopFile}}}});
    // This pkexec grants at once.
    WriteFile(bin_ / "pkexec", "#!/bin/sh\nshift\nexec \"$@\"\n", kExecutable);
    struct Case {
        std::string verb;
        fs::path directory;
    };
    for (const Case& c : {Case{"open", work_}, Case{"open", ""}, Case{"runas", work_}}) {
        SCOPED_TRACE(c.verb + " in " + c.directory.string());
        fs::remove(desktop_.appMarker);
        // The entry takes one file ("%f"): all the words still reach one start, none of them made a path.
        ASSERT_EQ(system.ShellExecute(Request(c.verb, "nagitori-tool", "--new-window notes.txt", c.directory)),
                  kShellSuccess);
        const std::optional<test::Marker> marker = WaitForMarker(desktop_.appMarker);
        ASSERT_TRUE(marker);
        EXPECT_EQ(marker->lines, test::MarkerLines(c.directory.empty() ? fs::current_path() : c.directory, desktop_.app,
                                                   {"--from-desktop", "--new-window", "notes.txt"}));
    }
}

// Wherever a desktop entry's command line takes files or URIs, and however it quotes the place, the typed words
// reach the program as they are, in one start; also elevated, and in the entry's own folder when it names one.
TEST_F(ShellExecuteTest, DesktopFileGetsTheWordsAsTypedInOneStart) {
    const fs::path starts = temp_ / "starts";
    const fs::path program = temp_ / "program";
    test::WriteMarkerScript(program, marker_);
    const fs::path tool = bin_ / "tool";
    WriteFile(tool, "#!/bin/sh\necho \"$$\" >> '" + starts.string() + "'\nexec '" + program.string() + "' \"$@\"\n",
              kExecutable);
    WriteFile(bin_ / "pkexec", "#!/bin/sh\nshift\nexec \"$@\"\n", kExecutable);
    const fs::path own = temp_ / "own folder";
    fs::create_directory(own);

    const std::string parameters = R"(--new-window notes.txt "Tom's \"big\" file" 100% $HOME `id` back\\slash)";
    const std::vector<std::string> words = {"--new-window", "notes.txt", R"(Tom's "big" file)", "100%",
                                            "$HOME",        "`id`",      R"(back\slash)"};
    struct Case {
        std::string exec;
        std::vector<std::string> before, after;  // the entry's own arguments around the words
        bool ownFolder = false;
    };
    const std::string t = tool.string();
    const Case cases[] = {
        {t + " --from-desktop %f", {"--from-desktop"}, {}},
        {t + " %F", {}, {}},
        {t + " %u", {}, {}},
        {t + " --first %U --last", {"--first"}, {"--last"}},
        {t + " --from-desktop", {"--from-desktop"}, {}},
        {t + " %f --between %U", {}, {"--between"}},
        {t + " 100%% %i %f", {"100%"}, {}},
        {"sh -c \"'" + t + "' --in-double %f\"", {"--in-double"}, {}},
        {"sh -c '\"" + t + "\" --in-single %f'", {"--in-single"}, {}},
        {t + " %F", {}, {}, true},
    };
    PosixSystem system = MakeSystem();
    for (const Case& c : cases) {
        WriteFile(temp_ / "entry.desktop",
                  "[Desktop Entry]\nType=Application\nName=Entry\nExec=" + c.exec + "\n" +
                      (c.ownFolder ? "Path=" + own.string() + "\n" : ""),
                  kNotExecutable);
        std::vector<std::string> expected = c.before;
        expected.insert(expected.end(), words.begin(), words.end());
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        struct Way {
            std::string verb;
            fs::path directory;
        };
        for (const Way& way : {Way{"open", work_}, Way{"open", ""}, Way{"runas", work_}}) {
            SCOPED_TRACE(c.exec + ", " + way.verb + " in " + way.directory.string());
            fs::remove(marker_);
            fs::remove(starts);
            ASSERT_EQ(system.ShellExecute(
                          Request(way.verb, (temp_ / "entry.desktop").string(), parameters, way.directory.string())),
                      kShellSuccess);
            const std::optional<test::Marker> marker = WaitForMarker(marker_);
            ASSERT_TRUE(marker);
            const fs::path folder = c.ownFolder ? own : way.directory.empty() ? fs::current_path() : way.directory;
            EXPECT_EQ(marker->lines, test::MarkerLines(folder, program, expected));
            // A second start would have been spawned before the launch returned; give it time to write.
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            EXPECT_EQ(test::WaitForLines(starts).value_or(std::vector<std::string>()).size(), 1u) << "started twice";
        }
    }
}

TEST_F(ShellExecuteTest, DefaultApplicationStandInServesAUri) {
    PosixSystem system = MakeSystem(false, {{"nagitori-web:", {{"http", {}, StandInKind::DefaultForScheme}}}});
    fs::remove(desktop_.browserMarker);
    ASSERT_EQ(system.ShellExecute(Request("open", "nagitori-web:page")), kShellSuccess);
    const std::optional<test::Marker> marker = WaitForMarker(desktop_.browserMarker);
    ASSERT_TRUE(marker);
    EXPECT_EQ(std::vector<std::string>(marker->lines.begin() + 1, marker->lines.end()),
              (std::vector<std::string>{desktop_.browser.string(), "0"}));
}

}  // namespace
}  // namespace nagitori::posix
