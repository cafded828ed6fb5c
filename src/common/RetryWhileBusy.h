#pragma once

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace nagitori {

// Calls attempt until it answers something other than busy or the time is up, pausing 1 ms at first and up to
// 50 ms later: another copy of the program holds a lock for a moment only, and one that keeps it must make us
// fail rather than hang. Returns the last answer, which is busy when the time ran out.
template <typename Attempt, typename Result = decltype(std::declval<Attempt&>()())>
Result RetryWhileBusy(Attempt attempt, Result busy, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::chrono::milliseconds pause{1};
    for (;;) {
        const Result result = attempt();
        const auto now = std::chrono::steady_clock::now();
        if (result != busy || now >= deadline) {
            return result;
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds{50});
    }
}

}  // namespace nagitori
