#include "platform/posix/ElevatedLaunch.h"

#include <glib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/LaunchRequest.h"
#include "platform/posix/GioLaunch.h"

namespace nagitori::posix {

namespace {

// The command line of a process as /proc shows it, arguments ended by NUL; empty once it is gone or a zombie.
std::string CommandLineOf(pid_t process) {
    std::ifstream file("/proc/" + std::to_string(process) + "/cmdline", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Whether `shown` is still the command we started. The kernel puts a script's interpreter in front, so the
// command is looked for at the end; it cannot end that way once pkexec has exec'd the program it was asked
// to run, which comes after pkexec's own options in it.
bool StillRunning(const std::string& shown, const std::string& started) {
    return shown.size() >= started.size() && shown.compare(shown.size() - started.size(), started.size(), started) == 0;
}

bool Refused(int status) {
    return WIFEXITED(status) && (WEXITSTATUS(status) == 126 || WEXITSTATUS(status) == 127);
}

}  // namespace

void IterateMainContextUntil(const std::function<bool()>& done) {
    while (!done()) {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

int SpawnElevated(const std::vector<std::string>& argv, const std::string& directory, const WaitUntil& wait) {
    pid_t child = 0;
    if (const int result = SpawnChild(argv, directory, child); result != kShellSuccess) {
        return result;
    }
    std::string started;
    for (const std::string& argument : argv) {
        started += argument + '\0';
    }
    int status = 0;
    bool ended = false;
    bool lost = false;  // reaped by someone else: nothing tells that the program ran
    bool handedOver = false;
    wait([&] {
        if (ended || handedOver) {
            return true;
        }
        const pid_t reaped = waitpid(child, &status, WNOHANG);
        if (reaped < 0 && errno == EINTR) {
            return false;
        }
        if (reaped != 0) {
            ended = true;
            lost = reaped < 0;
            return true;
        }
        const std::string shown = CommandLineOf(child);
        handedOver = !shown.empty() && !StillRunning(shown, started);
        return handedOver;
    });
    if (handedOver) {
        ReapLater(child);
        return kShellSuccess;
    }
    // A program that pkexec started and that ended before we looked counts as started.
    return ended && !lost && !Refused(status) ? kShellSuccess : kShellAccessDenied;
}

}  // namespace nagitori::posix
