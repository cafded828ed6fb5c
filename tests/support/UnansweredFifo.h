#pragma once

#ifndef _WIN32
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

namespace nagitori::test {

// A FIFO that nobody writes to: a reader that opens it without O_NONBLOCK waits for ever. Past the grace time a
// watchdog opens it for writing now and then, which frees a reader stuck in it, so that a test fails rather than
// hangs.
class UnansweredFifo {
public:
    explicit UnansweredFifo(const std::filesystem::path& path,
                            std::chrono::milliseconds grace = std::chrono::milliseconds(5000));
    ~UnansweredFifo();
    UnansweredFifo(const UnansweredFifo&) = delete;
    UnansweredFifo& operator=(const UnansweredFifo&) = delete;

    // Whether a reader was stuck in the FIFO until the watchdog freed it.
    bool ReaderWasStuck() const;

private:
    std::filesystem::path path_;
    mutable std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    bool stuck_ = false;
    std::thread watchdog_;
};

}  // namespace nagitori::test
#endif
