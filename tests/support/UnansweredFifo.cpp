#include "support/UnansweredFifo.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nagitori::test {

UnansweredFifo::UnansweredFifo(const std::filesystem::path& path, std::chrono::milliseconds grace) : path_(path) {
    EXPECT_EQ(::mkfifo(path.c_str(), 0666), 0) << path;
    watchdog_ = std::thread([this, grace] {
        std::unique_lock lock(mutex_);
        if (stop_.wait_for(lock, grace, [this] { return stopping_; })) {
            return;
        }
        while (!stop_.wait_for(lock, std::chrono::milliseconds(50), [this] { return stopping_; })) {
            // Without O_NONBLOCK this open would wait for a reader; with it, it succeeds only when one is waiting.
            const int writer = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (writer >= 0) {
                stuck_ = true;
                ::close(writer);
            }
        }
    });
}

UnansweredFifo::~UnansweredFifo() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_all();
    watchdog_.join();
}

bool UnansweredFifo::ReaderWasStuck() const {
    const std::lock_guard lock(mutex_);
    return stuck_;
}

}  // namespace nagitori::test
