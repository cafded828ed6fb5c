// Start-up probe: the program's executable against a bare Qt window with a menu bar, started side by side under a
// private X server with a window manager. For each: the time from exec until its window is mapped, and its
// proportional set size (PSS) 0.8 s after that; medians, and the ratios to the bare window.
// Usage: nagitori_startup_probe [runs] [--display N]  (runs: 11; the first free display of ten from N: 80)
// Without Xvfb it says so and measures offscreen, until each process's event loop runs with its window shown.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "ProbeDisplay.h"
#include "app/HandOver.h"
#include "tools/Catalogue.h"

extern char** environ;

namespace {

using probe::MonotonicNanos;

constexpr int kWindowTimeoutMs = 30000;
constexpr long long kPssDelayNanos = 800000000LL;

// What the user's session would hand the children: taken out, so that they never meet the user's own desktop,
// settings or running copy.
const char* const kLeftOut[] = {"DISPLAY",
                                "WAYLAND_DISPLAY",
                                "QT_QPA_PLATFORM",
                                "QT_QPA_PLATFORMTHEME",
                                "QT_STYLE_OVERRIDE",
                                "QT_SCALE_FACTOR",
                                "XDG_SESSION_TYPE",
                                "XDG_CURRENT_DESKTOP",
                                "DESKTOP_SESSION",
                                "DESKTOP_STARTUP_ID",
                                "XDG_ACTIVATION_TOKEN",
                                "DBUS_SESSION_BUS_ADDRESS",
                                "HOME",
                                "XDG_CONFIG_HOME",
                                "XDG_CACHE_HOME",
                                "XDG_DATA_HOME",
                                "XDG_RUNTIME_DIR",
                                "XAUTHORITY"};

std::vector<std::string> ScratchEnvironment(const std::filesystem::path& home, const std::filesystem::path& config,
                                            const std::filesystem::path& runtime) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (std::none_of(std::begin(kLeftOut), std::end(kLeftOut), [&name](const char* out) { return name == out; })) {
            environment.push_back(text);
        }
    }
    environment.push_back("HOME=" + home.string());
    environment.push_back("XDG_CONFIG_HOME=" + config.string());
    environment.push_back("XDG_CACHE_HOME=" + (home / ".cache").string());
    environment.push_back("XDG_DATA_HOME=" + (home / ".local/share").string());
    environment.push_back("XDG_RUNTIME_DIR=" + runtime.string());
    return environment;
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

struct Memory {
    long pss = -1;  // kB
    long rss = -1;
};

Memory MemoryOf(pid_t pid) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    Memory memory;
    std::string line;
    while (std::getline(rollup, line)) {
        if (line.starts_with("Pss:")) {
            memory.pss = std::atol(line.c_str() + 4);
        } else if (line.starts_with("Rss:")) {
            memory.rss = std::atol(line.c_str() + 4);
        }
    }
    return memory;
}

int PidFd(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

// Offscreen: the bare window writes a line once its event loop runs.
long long WaitForLine(int readFd, int pidFd) {
    pollfd watched[2] = {{readFd, POLLIN, 0}, {pidFd, POLLIN, 0}};
    while (poll(watched, pidFd >= 0 ? 2 : 1, kWindowTimeoutMs) > 0) {
        if ((watched[0].revents & POLLIN) != 0) {
            char buffer[16];
            return read(readFd, buffer, sizeof buffer) > 0 ? MonotonicNanos() : -1;
        }
        if ((watched[0].revents & (POLLHUP | POLLERR)) != 0 || (watched[1].revents & POLLIN) != 0) {
            return -1;
        }
    }
    return -1;
}

// Offscreen: the program answers a hand-over request once its event loop runs with the window shown. Its socket
// appears in `runtime` (watched by `watchFd`) as soon as it listens.
long long WaitForAnswer(int watchFd, const std::filesystem::path& runtime, int pidFd) {
    std::optional<std::string> socketName;
    pollfd watched[2] = {{watchFd, POLLIN, 0}, {pidFd, POLLIN, 0}};
    while (!socketName && poll(watched, pidFd >= 0 ? 2 : 1, kWindowTimeoutMs) > 0) {
        if ((watched[1].revents & POLLIN) != 0) {
            return -1;
        }
        alignas(inotify_event) char buffer[4096];
        const ssize_t got = read(watchFd, buffer, sizeof buffer);
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            const std::string name = event->len > 0 ? event->name : "";
            if (name.ends_with(".socket")) {
                socketName = name;
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    const std::string path = (runtime / socketName.value_or("")).string();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (!socketName || path.size() >= sizeof address.sun_path) {
        return -1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    // The name may be bound a moment before it listens.
    bool connected = false;
    for (int tries = 0; tries < 1000 && !connected; ++tries) {
        connected = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        if (!connected) {
            usleep(500);
        }
    }
    const std::string request = nagitori::EncodeRequest({});
    char answer[8] = {};
    const bool answered = connected && send(fd, request.data(), request.size(), MSG_NOSIGNAL) > 0 &&
                          recv(fd, answer, sizeof answer, 0) > 0;
    const long long seen = MonotonicNanos();
    close(fd);
    return answered ? seen : -1;
}

struct Child {
    const char* label;
    std::vector<std::string> command;
    std::vector<std::string> environment;
    bool isBare;
    std::vector<double> milliseconds;
    std::vector<double> pss;  // MiB
    std::vector<double> rss;
};

class Probe {
public:
    Probe(probe::ProbeDisplay* display, std::filesystem::path runtime) : display_(display), runtime_(runtime) {}

    // One start of `child`: its figures are kept when `keep`. False when it failed.
    bool Measure(Child& child, bool keep) {
        // Each start is a first one: nothing of the previous copy is left to hand over to or take over.
        for (const auto& entry : std::filesystem::directory_iterator(runtime_)) {
            std::filesystem::remove_all(entry.path());
        }
        if (display_ != nullptr) {
            display_->Drain();
        }
        int output[2] = {-1, -1};
        int watchFd = -1;
        if (display_ == nullptr && child.isBare && pipe2(output, O_CLOEXEC) != 0) {
            return false;
        }
        if (display_ == nullptr && !child.isBare) {
            watchFd = inotify_init1(IN_CLOEXEC);
            inotify_add_watch(watchFd, runtime_.c_str(), IN_CREATE | IN_MOVED_TO);
        }
        const long long start = MonotonicNanos();
        const pid_t pid = probe::Spawn(child.command, child.environment, output[1]);
        if (output[1] >= 0) {
            close(output[1]);
        }
        if (pid < 0) {
            std::fprintf(stderr, "could not start %s\n", child.command.front().c_str());
            return false;
        }
        const int pidFd = PidFd(pid);
        long long shown = -1;
        if (display_ != nullptr) {
            shown = display_->WaitForMap(pid, pidFd, kWindowTimeoutMs);
        } else if (child.isBare) {
            shown = WaitForLine(output[0], pidFd);
        } else {
            shown = WaitForAnswer(watchFd, runtime_, pidFd);
        }
        Memory memory;
        if (shown > 0) {
            const long long at = shown + kPssDelayNanos;
            const timespec until{static_cast<time_t>(at / 1000000000LL), static_cast<long>(at % 1000000000LL)};
            while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
            }
            memory = MemoryOf(pid);
        }
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        for (int fd : {pidFd, output[0], watchFd}) {
            if (fd >= 0) {
                close(fd);
            }
        }
        if (shown < 0 || memory.pss < 0) {
            std::fprintf(stderr, "%s: no window shown\n", child.label);
            return false;
        }
        if (keep) {
            child.milliseconds.push_back(static_cast<double>(shown - start) / 1e6);
            child.pss.push_back(static_cast<double>(memory.pss) / 1024.0);
            child.rss.push_back(static_cast<double>(memory.rss) / 1024.0);
        }
        return true;
    }

private:
    probe::ProbeDisplay* display_;
    std::filesystem::path runtime_;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The program as it is installed, in a folder of its own: a settings file beside the build's executable (from a
// `make run`) would change what it shows.
std::string CopyProgram(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    const fs::path built(NAGITORI_PROGRAM);
    fs::create_directories(folder);
    fs::copy_file(built, folder / built.filename());
    fs::copy_file(built.parent_path() / "libnagitori_program.so", folder / "libnagitori_program.so");
    return (folder / built.filename()).string();
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    int runs = 11;
    int firstDisplay = 80;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--display") == 0 && i + 1 < argc) {
            firstDisplay = std::atoi(argv[++i]);
        } else {
            runs = std::max(1, std::atoi(argv[i]));
        }
    }
    char scratchName[] = "/tmp/nagitori-probe-XXXXXX";
    if (mkdtemp(scratchName) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path scratch(scratchName);
    const fs::path home = scratch / "home";
    const fs::path runtime = scratch / "runtime";
    fs::create_directories(home / ".config");
    mkdir(runtime.c_str(), 0700);
    WriteLargeLauncherData(scratch / "large" / "ナギトリ");
    const std::string program = CopyProgram(scratch / "program");

    std::vector<std::string> environment = ScratchEnvironment(home, home / ".config", runtime);
    std::string note;
    std::unique_ptr<probe::ProbeDisplay> display = probe::ProbeDisplay::Start(firstDisplay, environment, note);
    std::string where;
    if (display != nullptr) {
        environment.push_back("DISPLAY=" + display->Name());
        where =
            "Xvfb " + display->Name() + (display->WithWindowManager() ? " with openbox" : " without a window manager");
        where += "; exec until the window is mapped";
    } else {
        environment.push_back("QT_QPA_PLATFORM=offscreen");
        where = "offscreen, as " + note + "; exec until the event loop runs with the window shown";
    }
    std::vector<std::string> large = environment;
    std::replace_if(
        large.begin(), large.end(), [](const std::string& e) { return e.starts_with("XDG_CONFIG_HOME="); },
        "XDG_CONFIG_HOME=" + (scratch / "large").string());

    Child bare{"bare Qt window with a menu bar", {NAGITORI_BARE_WINDOW}, environment, true, {}, {}, {}};
    // The same with its one word in Japanese: what the desktop's CJK font alone costs.
    Child bareJapanese{
        "the same, its menu titled in Japanese", {NAGITORI_BARE_WINDOW, "ファイル"}, environment, true, {}, {}, {}};
    // The same showing the captions of the program's first page: what drawing as many CJK glyphs costs. (The program
    // shows its page list and menus too, so this still weighs a little less text than the program draws.)
    std::vector<std::string> captions{NAGITORI_BARE_WINDOW, "ファイル"};
    for (int tag = 0; tag < nagitori::kButtonsPerPage; ++tag) {
        std::string caption = nagitori::CatalogueEntryOf(tag).caption;
        std::erase(caption, '&');
        captions.push_back(caption);
    }
    Child bareCaptions{"the same, showing the first page's captions", captions, environment, true, {}, {}, {}};
    Child main{"nagitori", {program}, environment, false, {}, {}, {}};
    Child largeData{"nagitori, launcher data of 200,000 sections", {program}, large, false, {}, {}, {}};
    const std::vector<Child*> children{&bare, &bareJapanese, &bareCaptions, &main, &largeData};
    Probe probe(display.get(), runtime);
    bool ok = true;
    // The first start of each fills the file cache and the data folder.
    for (Child* child : children) {
        ok = ok && probe.Measure(*child, false);
    }
    for (int i = 0; i < runs && ok; ++i) {
        for (Child* child : children) {
            ok = ok && probe.Measure(*child, true);
        }
    }
    display.reset();
    fs::remove_all(scratch);
    if (!ok) {
        return 1;
    }

    std::printf("start-up, medians of %d runs side by side (%s)\n", runs, where.c_str());
    std::printf("  %-46s %10s %10s %10s\n", "", "time", "PSS 0.8 s", "(RSS)");
    for (const Child* child : children) {
        std::printf("  %-46s %7.1f ms %6.1f MiB %6.1f MiB\n", child->label, Median(child->milliseconds),
                    Median(child->pss), Median(child->rss));
    }
    const double time = Median(main.milliseconds) / Median(bare.milliseconds);
    const double memory = Median(main.pss) / Median(bare.pss);
    const double resident = Median(main.rss) / Median(bare.rss);
    std::printf("  nagitori / bare window: time %.2f (goal 1.15 or less), PSS %.2f (goal 1.25 or less), RSS %.2f\n",
                time, memory, resident);
    std::printf("  nagitori / bare window titled in Japanese: time %.2f, PSS %.2f, RSS %.2f\n",
                Median(main.milliseconds) / Median(bareJapanese.milliseconds),
                Median(main.pss) / Median(bareJapanese.pss), Median(main.rss) / Median(bareJapanese.rss));
    std::printf("  nagitori / bare window showing the captions: time %.2f, PSS %.2f, RSS %.2f\n",
                Median(main.milliseconds) / Median(bareCaptions.milliseconds),
                Median(main.pss) / Median(bareCaptions.pss), Median(main.rss) / Median(bareCaptions.rss));
    // Pages shared with other programs count in PSS only by their share: with other Qt programs running, the bare
    // window's PSS shrinks more than the program's.
    std::printf(
        "  (PSS counts shared pages by their share: other Qt programs running lower it, the bare window's most)\n");
    return 0;
}
