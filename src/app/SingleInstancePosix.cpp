#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <list>
#include <memory>
#include <optional>
#include <string>

#include "app/SingleInstance.h"

// A plain socket watched by the event loop: Qt's local server would load Qt Network and the libraries behind it
// into every start for a few bytes.
namespace nagitori {

namespace {

// Starts waiting to be taken, as many as Qt's local server lets wait.
constexpr int kBacklog = 50;

// One later start's connection: its request is read in whatever pieces it comes, then answered.
class Connection {
public:
    explicit Connection(int fd) : fd_(fd), readable_(fd, QSocketNotifier::Read) {}
    ~Connection() {
        readable_.setEnabled(false);
        close(fd_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QSocketNotifier& Readable() { return readable_; }

    enum class State { Waiting, Answered, Dropped };

    // Reads what has come; answers a whole request, and gives its context.
    State Read(std::optional<ActivationContext>& context) {
        char buffer[1024];
        for (;;) {
            const ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                return State::Waiting;
            }
            if (got <= 0) {
                return State::Dropped;
            }
            received_.append(buffer, static_cast<std::size_t>(got));
            context = DecodeRequest(received_);
            if (context) {
                // One request per connection: whatever follows it is not read.
                send(fd_, kHandOverAnswer.data(), kHandOverAnswer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
                return State::Answered;
            }
            if (received_.size() > kMaxRequestBytes) {
                return State::Dropped;
            }
        }
    }

private:
    int fd_;
    QSocketNotifier readable_;
    std::string received_;
};

}  // namespace

class SingleInstance::Server {
public:
    explicit Server(SingleInstance& owner) : owner_(owner) {}
    ~Server() {
        incoming_.reset();
        connections_.clear();
        if (listener_ >= 0) {
            close(listener_);
            unlink(path_.c_str());
        }
    }
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    void Listen(const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path.size() >= sizeof address.sun_path) {
            return;
        }
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) {
            return;
        }
        // Nobody answered on it: a copy that ended, or one that is stopped, leaves the socket to this one.
        unlink(path.c_str());
        // The folder is the user's own; the socket is too.
        if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            chmod(path.c_str(), S_IRUSR | S_IWUSR) != 0 || listen(fd, kBacklog) != 0) {
            close(fd);
            return;
        }
        listener_ = fd;
        path_ = path;
        incoming_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(incoming_.get(), &QSocketNotifier::activated, &owner_, [this] { Accept(); });
    }

private:
    void Accept() {
        for (;;) {
            const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd < 0 && errno == EINTR) {
                continue;
            }
            if (fd < 0) {
                return;
            }
            connections_.emplace_back(fd);
            const auto connection = std::prev(connections_.end());
            QObject::connect(&connection->Readable(), &QSocketNotifier::activated, &owner_,
                             [this, connection] { Read(connection); });
        }
    }

    void Read(std::list<Connection>::iterator connection) {
        std::optional<ActivationContext> context;
        const Connection::State state = connection->Read(context);
        if (state == Connection::State::Waiting) {
            return;
        }
        // Not here and now: the notifier that called is the connection's own.
        connection->Readable().setEnabled(false);
        QMetaObject::invokeMethod(
            &owner_, [this, connection] { connections_.erase(connection); }, Qt::QueuedConnection);
        if (state == Connection::State::Answered) {
            emit owner_.Requested(*context);
        }
    }

    SingleInstance& owner_;
    int listener_ = -1;
    std::string path_;
    std::unique_ptr<QSocketNotifier> incoming_;
    std::list<Connection> connections_;
};

SingleInstance::SingleInstance(InstanceClaim& claim, QObject* parent)
    : QObject(parent), server_(std::make_unique<Server>(*this)) {
    if (!claim.SocketPath().empty()) {
        server_->Listen(claim.SocketPath());
    }
    claim.ReleaseLock();
}

SingleInstance::~SingleInstance() = default;

}  // namespace nagitori
