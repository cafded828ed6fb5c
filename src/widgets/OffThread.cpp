#include "widgets/OffThread.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "common/FreedMemory.h"

namespace nagitori {

namespace {

// Long enough for any lookup that answers at all; a lookup that takes longer is taken to hang.
constexpr std::chrono::milliseconds kSettleTime{250};

}  // namespace

// What the owner and its threads share; it outlives whichever of them ends last.
struct OffThread::Channel {
    std::mutex mutex;
    std::condition_variable idle;
    OffThread* owner;  // null once the owner is gone
    int running = 0;   // threads inside their work
};

OffThread::OffThread(QObject* owner) : QObject(owner), channel_(std::make_shared<Channel>()) {
    channel_->owner = this;
}

OffThread::~OffThread() {
    std::unique_lock lock(channel_->mutex);
    channel_->owner = nullptr;
    channel_->idle.wait_for(lock, kSettleTime, [this] { return channel_->running == 0; });
}

void OffThread::Start(std::function<Delivery()> job, Delivery failed) {
    auto run = [channel = channel_, job = std::move(job), failed] {
        {
            const std::lock_guard lock(channel->mutex);
            if (channel->owner == nullptr) {
                return;
            }
            ++channel->running;
        }
        Delivery delivery;
        try {
            delivery = job();
        } catch (...) {
            delivery = failed;
        }
        const std::lock_guard lock(channel->mutex);
        --channel->running;
        channel->idle.notify_all();
        // Posted under the lock, so the owner cannot go meanwhile; once it is gone, Qt drops what was posted to it.
        // What the work and the delivery read and let go (databases, icon themes) is handed back after it.
        if (channel->owner != nullptr) {
            QMetaObject::invokeMethod(
                channel->owner,
                [delivery = std::move(delivery)] {
                    delivery();
                    ReturnFreedMemory();
                },
                Qt::QueuedConnection);
        }
    };
    try {
        std::thread(std::move(run)).detach();
    } catch (const std::system_error&) {
        QMetaObject::invokeMethod(this, std::move(failed), Qt::QueuedConnection);
    }
}

}  // namespace nagitori
