// Hand-over benchmark: how long a second start of the program takes to hand over to the running copy and end,
// beside the time a bare Qt window (with a menu bar) takes to appear, both measured in the same run. Run without
// arguments, or with the number of runs; it starts the running copy and the bare windows itself.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "ProbeDisplay.h"
#include "app/HandOver.h"

extern char** environ;

namespace {

using probe::MonotonicNanos;

// Child: a bare window with a menu bar; prints the moment the event loop has shown it.
int RunBareWindow(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("File"));
    window.show();
    QTimer::singleShot(0, &app, [] {
        std::printf("%lld\n", MonotonicNanos());
        std::fflush(stdout);
        QApplication::quit();
    });
    return QApplication::exec();
}

// A child with this bench's environment as it stands now.
pid_t Spawn(const std::vector<std::string>& argv, int outputFd) {
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        environment.emplace_back(*variable);
    }
    const pid_t pid = probe::Spawn(argv, environment, outputFd);
    if (pid < 0) {
        std::fprintf(stderr, "cannot start %s\n", argv.front().c_str());
        std::exit(1);
    }
    return pid;
}

// Milliseconds from the spawn of a bare window to its first showing.
double TimeBareWindow(const char* self) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const long long start = MonotonicNanos();
    const pid_t pid = Spawn({self, "--bare"}, pipeFds[1]);
    close(pipeFds[1]);
    char buffer[64] = {};
    const ssize_t got = read(pipeFds[0], buffer, sizeof buffer - 1);
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bare window failed\n");
        std::exit(1);
    }
    return static_cast<double>(std::atoll(buffer) - start) / 1e6;
}

// Milliseconds from the spawn of a second start of the program to its end.
double TimeSecondStart() {
    const long long start = MonotonicNanos();
    const pid_t pid = Spawn({NAGITORI_PROGRAM}, -1);
    int status = 0;
    waitpid(pid, &status, 0);
    const long long end = MonotonicNanos();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "second start did not hand over\n");
        std::exit(1);
    }
    return static_cast<double>(end - start) / 1e6;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0) {
        return RunBareWindow(argc, argv);
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The running copy's socket and data folder: out of the user's own, so that a copy the user runs is not met.
    char home[] = "/tmp/nagitori-handover-XXXXXX";
    if (mkdtemp(home) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string runtime = std::string(home) + "/runtime";
    mkdir(runtime.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (std::string(home) + "/config").c_str(), 1);
    unsetenv("DESKTOP_STARTUP_ID");
    unsetenv("XDG_ACTIVATION_TOKEN");

    const pid_t first = Spawn({NAGITORI_PROGRAM}, -1);
    const std::string socket = nagitori::InstanceSocketPath();
    bool serving = false;
    for (int tries = 0; tries < 500 && !serving; ++tries) {
        serving = nagitori::InstanceClaim::Claim(socket, {}).HandedOver();
        if (!serving) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    if (!serving) {
        std::fprintf(stderr, "the running copy never answered\n");
        kill(first, SIGKILL);
        return 1;
    }

    std::vector<double> handOver;
    std::vector<double> bare;
    TimeBareWindow(argv[0]);  // warm the file cache
    for (int i = 0; i < runs; ++i) {
        handOver.push_back(TimeSecondStart());
        bare.push_back(TimeBareWindow(argv[0]));
    }
    kill(first, SIGTERM);
    waitpid(first, nullptr, 0);
    std::filesystem::remove_all(home);

    const double handOverMedian = Median(handOver);
    const double bareMedian = Median(bare);
    std::printf("second start handing over vs. a bare Qt window, median of %d runs (%s)\n", runs,
                std::getenv("QT_QPA_PLATFORM"));
    std::printf("  second start, to its end:        %8.2f ms\n", handOverMedian);
    std::printf("  bare window with a menu bar:     %8.2f ms\n", bareMedian);
    std::printf("  ratio (goal: 0.20 or less):      %8.2f\n", handOverMedian / bareMedian);
    return 0;
}
