#pragma once

#include <sys/types.h>
#include <xcb/xcb.h>

#include <memory>
#include <string>
#include <vector>

namespace probe {

// A private X server (Xvfb) run by openbox, and the moments at which windows of a process get mapped on it.
class ProbeDisplay {
public:
    // Xvfb on the first free display of ten from `firstNumber`, and openbox on it when that is installed. Null, with
    // the reason in `note`, when Xvfb cannot be had. `environment` is what openbox is started with.
    static std::unique_ptr<ProbeDisplay> Start(int firstNumber, const std::vector<std::string>& environment,
                                               std::string& note);
    ~ProbeDisplay();
    ProbeDisplay(const ProbeDisplay&) = delete;
    ProbeDisplay& operator=(const ProbeDisplay&) = delete;

    const std::string& Name() const { return name_; }
    bool WithWindowManager() const { return windowManager_ > 0; }

    // Forgets the windows mapped so far.
    void Drain();
    // Waits until a top-level window of `pid` is mapped (with a window manager: the frame around it) and returns
    // the CLOCK_MONOTONIC nanoseconds at which the server's notice arrived; -1 when `pidFd` (or -1 for none) says
    // the process ended first, or `timeoutMs` passed.
    long long WaitForMap(pid_t pid, int pidFd, int timeoutMs);

private:
    ProbeDisplay() = default;
    bool StartWindowManager(const std::vector<std::string>& environment);
    bool BelongsTo(xcb_window_t window, pid_t pid, int depth);
    xcb_atom_t Atom(const char* name);

    std::string name_;
    pid_t server_ = -1;
    pid_t windowManager_ = -1;
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
};

long long MonotonicNanos();

// Starts `argv[0]` (searched on PATH when it holds no '/') with `environment`, its output to `outputFd` (-1:
// nowhere) and its errors nowhere; descriptors without close-on-exec stay open in it. -1 when it cannot be
// started.
pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment, int outputFd);

}  // namespace probe
