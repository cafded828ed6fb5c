#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "app/HandOver.h"
#include "app/HandOverTransport.h"

namespace nagitori {

namespace {

using Clock = std::chrono::steady_clock;

// A folder that only this user can reach: created with mode 0700, or one that already is so.
bool IsPrivateFolder(const std::string& folder) {
    mkdir(folder.c_str(), 0700);
    struct stat status {};
    return lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == geteuid() &&
           (status.st_mode & 0077) == 0;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : std::string();
}

int Remaining(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

// The exclusive lock on the file beside the socket, waited for up to `bound`: null when the file cannot be had
// or another start keeps the lock longer (a copy stopped in the middle of its start-up).
std::shared_ptr<void> LockBeside(const std::string& socketPath, std::chrono::milliseconds bound) {
    const int fd = open((socketPath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return nullptr;
    }
    const Clock::time_point deadline = Clock::now() + bound;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || Clock::now() >= deadline) {
            close(fd);
            return nullptr;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    // Closing the file ends the lock, and so does the end of the process.
    return std::shared_ptr<void>(new int(fd), [](void* held) {
        close(*static_cast<int*>(held));
        delete static_cast<int*>(held);
    });
}

// True when a copy listens on `socketPath`, takes the request and answers it within `bound`.
bool AskRunningCopy(const std::string& socketPath, const std::string& request, std::chrono::milliseconds bound) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return false;
    }
    const Clock::time_point deadline = Clock::now() + bound;
    // A stopped copy's full backlog refuses at once (EAGAIN) rather than keep this start waiting.
    bool answered = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                    send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size());
    std::string answer;
    while (answered && answer.size() < kHandOverAnswer.size()) {
        pollfd readable{fd, POLLIN, 0};
        const int ready = poll(&readable, 1, Remaining(deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        char buffer[16];
        const ssize_t got = ready > 0 ? recv(fd, buffer, sizeof buffer, 0) : 0;
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        answered = got > 0;
        answer.append(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
    }
    close(fd);
    return answered && answer.starts_with(kHandOverAnswer);
}

std::string InstanceSocketPath() {
    std::string display = Environment("WAYLAND_DISPLAY");
    if (display.empty()) {
        display = Environment("DISPLAY");
    }
    const std::string name = "nagitori-" + SafeName(display) + ".socket";
    const std::string runtime = Environment("XDG_RUNTIME_DIR");
    if (runtime.starts_with('/') && IsPrivateFolder(runtime)) {
        return runtime + '/' + name;
    }
    std::string temporary = Environment("TMPDIR");
    if (!temporary.starts_with('/')) {
        temporary = "/tmp";
    }
    const std::string folder = temporary + "/nagitori-" + std::to_string(geteuid());
    return IsPrivateFolder(folder) ? folder + '/' + name : std::string();
}

}  // namespace nagitori
