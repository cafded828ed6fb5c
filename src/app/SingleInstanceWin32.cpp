#include <QLocalServer>
#include <QLocalSocket>
#include <QString>
#include <optional>
#include <string_view>

#include "app/SingleInstance.h"

namespace nagitori {

class SingleInstance::Server {
public:
    explicit Server(SingleInstance& owner) : owner_(owner) {}

    void Listen(const QString& path) {
        QObject::connect(&server_, &QLocalServer::newConnection, &owner_, [this] { Answer(); });
        server_.setSocketOptions(QLocalServer::UserAccessOption);
        // Nobody answered on it: a copy that ended, or one that is stopped, leaves the pipe to this one.
        QLocalServer::removeServer(path);
        server_.listen(path);
    }

private:
    void Answer() {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            // A request may arrive in pieces: it is acted on once it is whole.
            auto received = std::make_shared<QByteArray>();
            QObject::connect(socket, &QLocalSocket::readyRead, &owner_, [this, socket, received] {
                received->append(socket->readAll());
                const std::optional<ActivationContext> context =
                    DecodeRequest(std::string_view(received->constData(), static_cast<std::size_t>(received->size())));
                if (context) {
                    // One request per connection: whatever follows it is not read.
                    QObject::disconnect(socket, &QLocalSocket::readyRead, &owner_, nullptr);
                    socket->write(kHandOverAnswer.data(), static_cast<qint64>(kHandOverAnswer.size()));
                    socket->disconnectFromServer();
                    emit owner_.Requested(*context);
                } else if (static_cast<std::size_t>(received->size()) > kMaxRequestBytes) {
                    socket->abort();
                }
            });
        }
    }

    SingleInstance& owner_;
    QLocalServer server_;
};

SingleInstance::SingleInstance(InstanceClaim& claim, QObject* parent)
    : QObject(parent), server_(std::make_unique<Server>(*this)) {
    if (!claim.SocketPath().empty()) {
        server_->Listen(QString::fromStdString(claim.SocketPath()));
    }
    claim.ReleaseLock();
}

SingleInstance::~SingleInstance() = default;

}  // namespace nagitori
