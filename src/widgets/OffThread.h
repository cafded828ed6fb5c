#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <utility>

namespace nagitori {

// Runs work that may wait on the file system (a registered path on a network mount that never answers) on a
// thread of its own, and hands its result back on this object's thread. A result never reaches an owner that is
// gone, and work that never returns keeps only its own thread: neither the window, nor later work, nor the end of
// the program waits for it.
class OffThread : public QObject {
    Q_OBJECT
public:
    explicit OffThread(QObject* owner);
    // Gives running work a moment to finish, since it may use what goes after its owner; work that takes longer
    // is left to itself and its result dropped.
    ~OffThread() override;
    OffThread(const OffThread&) = delete;
    OffThread& operator=(const OffThread&) = delete;

    // Runs work() on a thread of its own, then deliver(result) on this object's thread; work that throws, or that
    // gets no thread, delivers Result(). `work` must not touch the owner: it may still run after the owner is gone.
    template <typename Result>
    void Run(std::function<Result()> work, std::function<void(const Result&)> deliver) {
        Start(
            [work = std::move(work), deliver]() -> Delivery { return [deliver, result = work()] { deliver(result); }; },
            [deliver] { deliver(Result()); });
    }

private:
    using Delivery = std::function<void()>;
    struct Channel;

    void Start(std::function<Delivery()> job, Delivery failed);

    std::shared_ptr<Channel> channel_;
};

}  // namespace nagitori
