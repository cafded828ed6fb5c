#include "ProbeDisplay.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace probe {

namespace {

constexpr int kStartTimeoutMs = 10000;

std::vector<char*> Pointers(const std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (const std::string& text : texts) {
        pointers.push_back(const_cast<char*>(text.c_str()));
    }
    pointers.push_back(nullptr);
    return pointers;
}

void Stop(pid_t& pid) {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
}

bool DisplayTaken(int number) {
    const std::string n = std::to_string(number);
    return access(("/tmp/.X" + n + "-lock").c_str(), F_OK) == 0 || access(("/tmp/.X11-unix/X" + n).c_str(), F_OK) == 0;
}

// Reads the line the server writes to its -displayfd once it accepts connections; false when it ends first. The
// whole line: a server whose second write finds the pipe closed gives up.
bool ServerReady(int readFd) {
    const long long deadline = MonotonicNanos() + kStartTimeoutMs * 1000000LL;
    pollfd readable{readFd, POLLIN, 0};
    char c = 0;
    while (c != '\n') {
        const int left = static_cast<int>((deadline - MonotonicNanos()) / 1000000LL);
        if (left <= 0 || poll(&readable, 1, left) <= 0 || read(readFd, &c, 1) != 1) {
            return false;
        }
    }
    return true;
}

}  // namespace

long long MonotonicNanos() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment, int outputFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outputFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args = Pointers(argv);
    std::vector<char*> env = Pointers(environment);
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : -1;
}

std::unique_ptr<ProbeDisplay> ProbeDisplay::Start(int firstNumber, const std::vector<std::string>& environment,
                                                  std::string& note) {
    std::unique_ptr<ProbeDisplay> display(new ProbeDisplay);
    for (int number = firstNumber; number < firstNumber + 10 && display->server_ < 0; ++number) {
        if (DisplayTaken(number)) {
            continue;
        }
        int ready[2];
        if (pipe2(ready, O_CLOEXEC) != 0) {
            break;
        }
        // Only the server gets the end it writes to.
        fcntl(ready[1], F_SETFD, 0);
        const pid_t server = Spawn({"Xvfb", ":" + std::to_string(number), "-nolisten", "tcp", "-screen", "0",
                                    "1280x1024x24", "-displayfd", std::to_string(ready[1])},
                                   environment, -1);
        close(ready[1]);
        if (server < 0) {
            close(ready[0]);
            note = "Xvfb is not installed (Debian package xvfb)";
            return nullptr;
        }
        const bool up = ServerReady(ready[0]);
        close(ready[0]);
        const std::string name = ":" + std::to_string(number);
        xcb_connection_t* connection = up ? xcb_connect(name.c_str(), nullptr) : nullptr;
        // A server of another namespace may hold the number where its lock file cannot be seen.
        if (connection != nullptr && xcb_connection_has_error(connection) == 0) {
            display->server_ = server;
            display->name_ = name;
            display->connection_ = connection;
        } else {
            if (connection != nullptr) {
                xcb_disconnect(connection);
            }
            pid_t failed = server;
            Stop(failed);
        }
    }
    if (display->server_ < 0) {
        note = "no X server could be started on displays :" + std::to_string(firstNumber) +
               " to :" + std::to_string(firstNumber + 9);
        return nullptr;
    }
    display->root_ = xcb_setup_roots_iterator(xcb_get_setup(display->connection_)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(display->connection_, display->root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(display->connection_);
    if (!display->StartWindowManager(environment)) {
        note = "openbox is not installed or did not start (Debian package openbox): windows without a frame";
    }
    return display;
}

bool ProbeDisplay::StartWindowManager(const std::vector<std::string>& environment) {
    std::vector<std::string> env = environment;
    env.push_back("DISPLAY=" + name_);
    windowManager_ = Spawn({"openbox"}, env, -1);
    if (windowManager_ < 0) {
        return false;
    }
    // Openbox announces itself on the root window once it manages windows.
    const xcb_atom_t check = Atom("_NET_SUPPORTING_WM_CHECK");
    const long long deadline = MonotonicNanos() + kStartTimeoutMs * 1000000LL;
    while (MonotonicNanos() < deadline) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, root_, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
        const bool announced = reply != nullptr && xcb_get_property_value_length(reply) > 0;
        std::free(reply);
        if (announced) {
            Drain();
            return true;
        }
        pollfd readable{xcb_get_file_descriptor(connection_), POLLIN, 0};
        poll(&readable, 1, 100);
        Drain();
    }
    Stop(windowManager_);
    return false;
}

ProbeDisplay::~ProbeDisplay() {
    if (connection_ != nullptr) {
        xcb_disconnect(connection_);
    }
    Stop(windowManager_);
    Stop(server_);
}

xcb_atom_t ProbeDisplay::Atom(const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

void ProbeDisplay::Drain() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        std::free(event);
    }
}

bool ProbeDisplay::BelongsTo(xcb_window_t window, pid_t pid, int depth) {
    static const xcb_atom_t wmPid = Atom("_NET_WM_PID");
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, wmPid, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    const bool ours = reply != nullptr && xcb_get_property_value_length(reply) == 4 &&
                      *static_cast<const uint32_t*>(xcb_get_property_value(reply)) == static_cast<uint32_t>(pid);
    std::free(reply);
    if (ours || depth == 0) {
        return ours;
    }
    // A window manager's frame holds the program's window a level or two down.
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr);
    bool found = false;
    if (tree != nullptr) {
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
            found = BelongsTo(children[i], pid, depth - 1);
        }
        std::free(tree);
    }
    return found;
}

long long ProbeDisplay::WaitForMap(pid_t pid, int pidFd, int timeoutMs) {
    const long long deadline = MonotonicNanos() + timeoutMs * 1000000LL;
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            const long long seen = MonotonicNanos();
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
            const bool candidate = mapped && map->event == root_ && map->override_redirect == 0;
            const xcb_window_t window = map->window;
            std::free(event);
            if (candidate && BelongsTo(window, pid, 2)) {
                return seen;
            }
        }
        if (xcb_connection_has_error(connection_)) {
            return -1;
        }
        const long long left = (deadline - MonotonicNanos()) / 1000000LL;
        if (left <= 0) {
            return -1;
        }
        pollfd watched[2] = {{xcb_get_file_descriptor(connection_), POLLIN, 0}, {pidFd, POLLIN, 0}};
        const int ready = poll(watched, pidFd >= 0 ? 2 : 1, static_cast<int>(left));
        if (ready < 0 && errno != EINTR) {
            return -1;
        }
        if (pidFd >= 0 && (watched[1].revents & POLLIN) != 0) {
            return -1;
        }
    }
}

}  // namespace probe
