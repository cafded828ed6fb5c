#include "ShellTestSupport.h"

#include <gio/gio.h>

#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <system_error>
#include <thread>
#include <utility>

#include "support/TempDir.h"

namespace nagitori::test {

namespace {

std::string SingleQuoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

}  // namespace

void WriteMarkerScript(const std::filesystem::path& script, const std::filesystem::path& marker) {
    const std::filesystem::path part = marker.string() + ".part";
    WriteFileBytes(script,
                   "#!/bin/sh\n"
                   "{ pwd -P; echo \"$PPID\"; printf '%s\\n' \"$0\" \"$#\"; for a in \"$@\"; do printf '%s\\n' "
                   "\"$a\"; done; } > " +
                       SingleQuoted(part) + " && mv " + SingleQuoted(part) + " " + SingleQuoted(marker) + "\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                             std::filesystem::perms::group_exec);
}

std::optional<std::vector<std::string>> WaitForLines(const std::filesystem::path& file,
                                                     std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!std::filesystem::exists(file)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::istringstream text(ReadFileBytes(file));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::optional<Marker> WaitForMarker(const std::filesystem::path& file) {
    std::optional<std::vector<std::string>> lines = WaitForLines(file);
    if (!lines || lines->size() < 2) {
        return std::nullopt;
    }
    Marker marker{static_cast<pid_t>(std::stol((*lines)[1])), std::move(*lines)};
    marker.lines.erase(marker.lines.begin() + 1);
    return marker;
}

std::vector<std::string> MarkerLines(const std::filesystem::path& folder, const std::filesystem::path& program,
                                     const std::vector<std::string>& arguments) {
    std::vector<std::string> lines = {std::filesystem::canonical(folder).string(), program.string(),
                                      std::to_string(arguments.size())};
    lines.insert(lines.end(), arguments.begin(), arguments.end());
    return lines;
}

std::vector<pid_t> ChildrenOfThisProcess() {
    std::vector<pid_t> children;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        std::ifstream stat(entry.path() / "stat");
        std::string text;
        if (!std::getline(stat, text)) {
            continue;  // not a process, or one that has just gone
        }
        // "pid (name) state ppid ...": the name may hold blanks and parentheses, so read after the last ')'.
        std::istringstream rest(text.substr(text.rfind(')') + 1));
        char state = 0;
        pid_t parent = 0;
        if (rest >> state >> parent && parent == getpid()) {
            children.push_back(static_cast<pid_t>(std::stol(entry.path().filename().string())));
        }
    }
    return children;
}

bool IterateMainContextUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

const IsolatedDesktop& IsolateDesktopDatabase() {
    static const std::unique_ptr<TempDir> root = std::make_unique<TempDir>();
    static const IsolatedDesktop desktop = [] {
        const std::filesystem::path data = root->Path() / "data";
        const std::filesystem::path applications = data / "applications";
        std::filesystem::create_directories(applications);
        std::filesystem::create_directories(root->Path() / "config");
        std::filesystem::create_directories(root->Path() / "system");
        // The real MIME database, so that content types are the machine's own; its handlers stay out.
        if (std::filesystem::exists("/usr/share/mime")) {
            std::filesystem::create_directory_symlink("/usr/share/mime", data / "mime");
        }
        IsolatedDesktop result;
        const auto marker = [](const std::string& name, std::filesystem::path& script, std::filesystem::path& written) {
            script = root->Path() / name;
            written = root->Path() / (name + "-marker");
            WriteMarkerScript(script, written);
        };
        marker("handler", result.handler, result.handlerMarker);
        marker("browser", result.browser, result.browserMarker);
        marker("nagitori-app", result.app, result.appMarker);
        const auto entry = [&applications](const std::string& id, const std::string& lines) {
            WriteFileBytes(applications / id, "[Desktop Entry]\nType=Application\nName=" + id + "\n" + lines);
        };
        entry("nagitori-test-handler.desktop", "Exec=" + result.handler.string() +
                                                   " %u\nIcon=nagitori-test-handler\nMimeType=text/plain;"
                                                   "inode/directory;x-scheme-handler/nagitori-test;\n");
        entry("nagitori-test-browser.desktop",
              "Exec=" + result.browser.string() + " %u\nMimeType=x-scheme-handler/http;text/html;\n");
        entry("nagitori-test-app.desktop",
              "Exec=" + result.app.string() + " --from-desktop %f\nIcon=nagitori-test-app\n");
        entry("nagitori-test-env.desktop", "Exec=env -u HOME NAGITORI_TEST=1 " + result.app.string() + " %F\n");
        entry("nagitori-test-env-missing.desktop",
              "Exec=env -u HOME NAGITORI_TEST=1 " + (root->Path() / "not-installed").string() + " %F\n");
        entry("nagitori-test-hidden.desktop", "Exec=" + result.app.string() + "\nHidden=true\n");
        entry("nagitori-test-tryexec.desktop",
              "Exec=" + result.app.string() + "\nTryExec=" + (root->Path() / "not-installed").string() + "\n");
        WriteFileBytes(applications / "mimeinfo.cache",
                       "[MIME Cache]\ntext/plain=nagitori-test-handler.desktop;\n"
                       "inode/directory=nagitori-test-handler.desktop;\n"
                       "x-scheme-handler/nagitori-test=nagitori-test-handler.desktop;\n"
                       "x-scheme-handler/http=nagitori-test-browser.desktop;\n");
        // The user's choices, as a desktop's settings write them.
        WriteFileBytes(root->Path() / "config" / "mimeapps.list",
                       "[Default Applications]\nx-scheme-handler/http=nagitori-test-browser.desktop\n"
                       "text/plain=nagitori-test-handler.desktop\n");
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        setenv("XDG_DATA_DIRS", (root->Path() / "system").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root->Path() / "config").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (root->Path() / "system").c_str(), 1);
        // GLib reads these once per process; if it had read them before, the database is not ours.
        result.isolated = data == g_get_user_data_dir();
        return result;
    }();
    return desktop;
}

}  // namespace nagitori::test
