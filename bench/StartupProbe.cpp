// Start-up probe: the time from process start to the first shown main window, against a bare
// QMainWindow built from the same binary and libraries. Run without arguments; it starts itself.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/posix/PosixSystem.h"
#include "platform/qt/ApplicationSetup.h"
#include "platform/qt/QtDesktop.h"

extern char** environ;

namespace {

long long MonotonicNanos() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

enum class Window { Main, MainLargeData, Bare, BareWithText };

// Child: build the window, show it, and print the moment the event loop has shown it.
int RunChild(int argc, char** argv, Window kind) {
    if (kind == Window::MainLargeData) {
        // The parent put a launcher data file of 200,000 sections in a configuration folder of its own.
        setenv("XDG_CONFIG_HOME", (std::string(getenv("XDG_CONFIG_HOME")) + "/large").c_str(), 1);
    }
    QApplication app(argc, argv);
    nagitori::SetUpApplication(app);
    nagitori::posix::PosixSystem system(nagitori::posix::PosixEnvironment::FromProcess(),
                                        nagitori::posix::DefaultAppPaths());
    nagitori::QtDesktop desktop;
    std::unique_ptr<QMainWindow> window;
    if (kind == Window::Main || kind == Window::MainLargeData) {
        window = std::make_unique<nagitori::TMainForm>(system, desktop);
    } else {
        window = std::make_unique<QMainWindow>();
        if (kind == Window::BareWithText) {
            // Any window that shows Japanese text first pays for the font database.
            auto* label = new QLabel(QStringLiteral("ナギトリ"), window.get());
            window->setCentralWidget(label);
            label->sizeHint();
        }
    }
    window->show();
    QTimer::singleShot(0, &app, [] {
        std::printf("%lld\n", MonotonicNanos());
        std::fflush(stdout);
        QApplication::quit();
    });
    return QApplication::exec();
}

// Spawns one child and returns the milliseconds from its start to its first shown window.
double TimeChild(const char* self, const char* mode) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    // Qt's notes about the offscreen platform would drown the figures.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* childArgv[] = {const_cast<char*>(self), const_cast<char*>(mode), nullptr};
    pid_t pid = 0;
    const long long start = MonotonicNanos();
    if (posix_spawn(&pid, self, &actions, nullptr, childArgv, environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    char buffer[64] = {};
    const ssize_t got = read(pipeFds[0], buffer, sizeof buffer - 1);
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "probe child %s failed\n", mode);
        std::exit(1);
    }
    return static_cast<double>(std::atoll(buffer) - start) / 1e6;
}

// A launcher data file of 200,000 sections with LF line ends and none of the twenty slots: the start-up reads
// pass every header twenty times.
void WriteLargeLauncherData(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    std::string text;
    for (int section = 1; section <= 200000; ++section) {
        const std::string n = std::to_string(section);
        text += "[Section_" + n + "]\nKey=/some/path/" + n + "\n";
    }
    std::ofstream(folder / "LauncherData.ini", std::ios::binary) << text;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--main") == 0) {
        return RunChild(argc, argv, Window::Main);
    }
    if (argc > 1 && std::strcmp(argv[1], "--main-large-data") == 0) {
        return RunChild(argc, argv, Window::MainLargeData);
    }
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0) {
        return RunChild(argc, argv, Window::Bare);
    }
    if (argc > 1 && std::strcmp(argv[1], "--bare-text") == 0) {
        return RunChild(argc, argv, Window::BareWithText);
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The children create their data folder: keep it out of the user's own.
    char configHome[] = "/tmp/nagitori-probe-XXXXXX";
    if (mkdtemp(configHome) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("XDG_CONFIG_HOME", configHome, 1);
    WriteLargeLauncherData(std::filesystem::path(configHome) / "large" / "ナギトリ");
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    std::vector<double> mainTimes;
    std::vector<double> largeTimes;
    std::vector<double> bareTimes;
    std::vector<double> textTimes;
    TimeChild(argv[0], "--bare");  // warm the file cache
    for (int i = 0; i < runs; ++i) {
        mainTimes.push_back(TimeChild(argv[0], "--main"));
        largeTimes.push_back(TimeChild(argv[0], "--main-large-data"));
        bareTimes.push_back(TimeChild(argv[0], "--bare"));
        textTimes.push_back(TimeChild(argv[0], "--bare-text"));
    }
    const double mainMedian = Median(mainTimes);
    const double largeMedian = Median(largeTimes);
    const double bareMedian = Median(bareTimes);
    const double textMedian = Median(textTimes);
    std::printf("start-up to first shown window, median of %d runs (offscreen)\n", runs);
    std::printf("  main window:        %8.2f ms\n", mainMedian);
    std::printf("  main window, launcher data of 200,000 sections (LF): %8.2f ms (+%.2f ms)\n", largeMedian,
                largeMedian - mainMedian);
    std::printf("  bare QMainWindow:   %8.2f ms\n", bareMedian);
    std::printf("  bare, one label:    %8.2f ms\n", textMedian);
    std::printf("  ratio to bare:            %8.2f\n", mainMedian / bareMedian);
    std::printf("  ratio to bare with text:  %8.2f\n", mainMedian / textMedian);
    std::filesystem::remove_all(configHome);
    return 0;
}
