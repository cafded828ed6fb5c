#include "app/SingleInstance.h"

#include <QLocalSocket>
#include <QString>
#include <memory>
#include <optional>
#include <string_view>

namespace nagitori {

SingleInstance::SingleInstance(InstanceClaim& claim, QObject* parent) : QObject(parent) {
    if (!claim.SocketPath().empty()) {
        const QString path = QString::fromStdString(claim.SocketPath());
        connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::Answer);
        server_.setSocketOptions(QLocalServer::UserAccessOption);
        // Nobody answered on it: a copy that ended, or one that is stopped, leaves the socket to this one.
        QLocalServer::removeServer(path);
        server_.listen(path);
    }
    claim.ReleaseLock();
}

void SingleInstance::Answer() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A request may arrive in pieces: it is acted on once it is whole.
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, received] {
            received->append(socket->readAll());
            const std::optional<ActivationContext> context =
                DecodeRequest(std::string_view(received->constData(), static_cast<std::size_t>(received->size())));
            if (context) {
                // One request per connection: whatever follows it is not read.
                QObject::disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
                socket->write(kHandOverAnswer.data(), static_cast<qint64>(kHandOverAnswer.size()));
                socket->disconnectFromServer();
                emit Requested(*context);
            } else if (static_cast<std::size_t>(received->size()) > kMaxRequestBytes) {
                socket->abort();
            }
        });
    }
}

}  // namespace nagitori
