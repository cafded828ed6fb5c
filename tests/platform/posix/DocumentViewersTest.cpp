#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "ShellTestSupport.h"
#include "platform/LaunchRequest.h"
#include "platform/posix/PosixSystem.h"
#include "platform/posix/ShellResults.h"
#include "support/TempDir.h"

namespace nagitori::posix {
namespace {

namespace fs = std::filesystem;

// A desktop database of this test's own, where C sources (text) open by default in a pager that runs in a
// terminal, and also in an editor; plain text has no application at all. GIO reads the database once per
// process: the test runs in a process of its own, as ctest runs each test, or skips.
struct Viewers {
    test::TempDir root;
    fs::path pager = root / "pager";
    fs::path editor = root / "editor";
    fs::path marker = root / "marker";
    bool isolated = false;

    Viewers() {
        const fs::path data = root / "data";
        fs::create_directories(data / "applications");
        fs::create_directories(root / "config");
        fs::create_directories(root / "system");
        if (fs::exists("/usr/share/mime")) {
            fs::create_directory_symlink("/usr/share/mime", data / "mime");
        }
        test::WriteMarkerScript(pager, marker);
        test::WriteMarkerScript(editor, marker);
        const auto entry = [&data](const std::string& id, const std::string& lines) {
            test::WriteFileBytes(data / "applications" / id, "[Desktop Entry]\nType=Application\nName=" + id + "\n" +
                                                                 lines + "MimeType=text/x-csrc;\n");
        };
        entry("nagitori-pager.desktop", "Exec=" + pager.string() + " %f\nTerminal=true\n");
        entry("nagitori-editor.desktop", "Exec=" + editor.string() + " %f\n");
        test::WriteFileBytes(data / "applications" / "mimeinfo.cache",
                             "[MIME Cache]\ntext/x-csrc=nagitori-pager.desktop;nagitori-editor.desktop;\n");
        test::WriteFileBytes(root / "config" / "mimeapps.list",
                             "[Default Applications]\ntext/x-csrc=nagitori-pager.desktop\n");
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        setenv("XDG_DATA_DIRS", (root / "system").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (root / "system").c_str(), 1);
        isolated = data == g_get_user_data_dir();
    }
};

// GIO reads its desktop database once per process: among other tests, this one runs again in a child process
// of its own, and the child's outcome is the test's. Empty when the test is the only one in this process.
std::optional<std::string> OutcomeInAProcessOfItsOwn(bool& passed) {
    if (testing::UnitTest::GetInstance()->test_to_run_count() == 1) {
        return std::nullopt;
    }
    const testing::TestInfo& test = *testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string("--gtest_filter=") + test.test_suite_name() + "." + test.name();
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    char* argv[] = {const_cast<char*>(self.c_str()), const_cast<char*>(filter.c_str()), nullptr};
    gchar* output = nullptr;
    gint status = 0;
    GError* error = nullptr;
    if (!g_spawn_sync(nullptr, argv, nullptr, G_SPAWN_STDERR_TO_DEV_NULL, nullptr, nullptr, &output, nullptr, &status,
                      &error)) {
        const std::string message = error->message;
        g_error_free(error);
        passed = false;
        return message;
    }
    const std::string text = output;
    g_free(output);
    passed = g_spawn_check_wait_status(status, nullptr);
    return text;
}

class DocumentViewers : public testing::Test {
protected:
    void SetUp() override {
        bool passed = false;
        if (const std::optional<std::string> outcome = OutcomeInAProcessOfItsOwn(passed)) {
            delegated_ = true;
            if (outcome->find("[  SKIPPED ] 1 test") != std::string::npos) {
                GTEST_SKIP() << *outcome;
            }
            EXPECT_TRUE(passed) << *outcome;
            return;
        }
        static Viewers viewers;
        viewers_ = &viewers;
        if (!viewers_->isolated) {
            GTEST_SKIP() << "GIO read another desktop database in this process; run this test on its own";
        }
        if (!fs::exists("/usr/share/mime/text/x-csrc.xml")) {
            GTEST_SKIP() << "no MIME database (Debian package shared-mime-info)";
        }
        // GLib looks for the terminals it knows on the process's PATH: here it finds none, and the marker
        // scripts find the one tool they use.
        fs::create_directories(work_ / "tools");
        fs::create_symlink("/bin/mv", work_ / "tools" / "mv");
        savedPath_ = std::getenv("PATH") == nullptr ? "" : std::getenv("PATH");
        setenv("PATH", (work_ / "tools").c_str(), 1);
        fs::create_directories(work_ / "bin");
        environment_.path = (work_ / "bin").string();
        test::WriteFileBytes(work_ / "source.c", "int main(void) { return 0; }\n");
        test::WriteFileBytes(work_ / "readme.txt", "ヘルプ\n");
    }
    void TearDown() override {
        if (!savedPath_.empty()) {
            setenv("PATH", savedPath_.c_str(), 1);
        }
    }

    void Install(const char* name) { test::WriteMarkerScript(work_ / "bin" / name, viewers_->marker); }

    // What the file opened in: the program that ran first and its arguments.
    std::optional<std::vector<std::string>> Open(const fs::path& file) {
        fs::remove(viewers_->marker);
        LaunchRequest request;
        request.target = file.string();
        result_ = PosixSystem(environment_, {}, [] { return false; }).ShellExecute(request);
        if (result_ != kShellSuccess) {
            return std::nullopt;
        }
        const std::optional<test::Marker> marker = test::WaitForMarker(viewers_->marker);
        if (!marker) {
            return std::nullopt;
        }
        return std::vector<std::string>(marker->lines.begin() + 1, marker->lines.end());
    }

    Viewers* viewers_ = nullptr;
    bool delegated_ = false;  // the test ran in a child process
    test::TempDir work_;
    PosixEnvironment environment_;
    std::string savedPath_;
    int result_ = 0;
};

TEST_F(DocumentViewers, ATerminalProgramRunsInTheSystemsTerminal) {
    if (delegated_) {
        return;
    }
    Install("x-terminal-emulator");
    const fs::path terminal = work_ / "bin" / "x-terminal-emulator";
    const std::string source = (work_ / "source.c").string();
    EXPECT_EQ(Open(work_ / "source.c"),
              (std::vector<std::string>{terminal.string(), "3", "-e", viewers_->pager.string(), source}));
}

TEST_F(DocumentViewers, WithoutATerminalTheNextApplicationOpensIt) {
    if (delegated_) {
        return;
    }
    const std::string source = (work_ / "source.c").string();
    EXPECT_EQ(Open(work_ / "source.c"), (std::vector<std::string>{viewers_->editor.string(), "1", source}));
}

TEST_F(DocumentViewers, TextNoApplicationCanShowOpensInAPager) {
    if (delegated_) {
        return;
    }
    const std::string readme = (work_ / "readme.txt").string();
    // Without a terminal nothing can show it, as before.
    EXPECT_EQ(Open(work_ / "readme.txt"), std::nullopt);
    EXPECT_EQ(result_, kShellNoAssociation);

    Install("x-terminal-emulator");
    Install("sensible-pager");
    const std::string terminal = (work_ / "bin" / "x-terminal-emulator").string();
    const std::string pager = (work_ / "bin" / "sensible-pager").string();
    EXPECT_EQ(Open(work_ / "readme.txt"), (std::vector<std::string>{terminal, "3", "-e", pager, readme}));

    // Anything else stays without an application.
    test::WriteFileBytes(work_ / "picture.png", "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(Open(work_ / "picture.png"), std::nullopt);
    EXPECT_EQ(result_, kShellNoAssociation);
}

}  // namespace
}  // namespace nagitori::posix
