#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QProcessEnvironment>
#include <QWidget>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace nagitori {

namespace {

constexpr int kConnectMilliseconds = 1000;
constexpr char kRequest[] = "show\n";
constexpr char kAnswer[] = "ok\n";

// Letters, digits, '.', '_' and '-' only, so that a display name like ":0" or "wayland-0" makes a safe file name.
QString SafeName(QString text) {
    for (QChar& c : text) {
        if (!c.isLetterOrNumber() && c != u'.' && c != u'_' && c != u'-') {
            c = u'_';
        }
    }
    return text;
}

#ifndef _WIN32
// A folder that only this user can reach: created with mode 0700, or one that already is so.
bool IsPrivateFolder(const QString& folder) {
    const QByteArray path = QFile::encodeName(folder);
    mkdir(path.constData(), 0700);
    struct stat status {};
    return lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == geteuid() &&
           (status.st_mode & 0077) == 0;
}
#endif

}  // namespace

QString SingleInstance::SocketPath() {
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString display = environment.value(QStringLiteral("WAYLAND_DISPLAY"));
    if (display.isEmpty()) {
        display = environment.value(QStringLiteral("DISPLAY"));
    }
    const QString name = QStringLiteral("nagitori-") + SafeName(display) + QStringLiteral(".socket");
#ifdef _WIN32
    // Named pipes are machine-wide: the user's name keeps two users apart.
    return name + u'-' + SafeName(environment.value(QStringLiteral("USERNAME")));
#else
    const QString runtime = environment.value(QStringLiteral("XDG_RUNTIME_DIR"));
    if (QDir::isAbsolutePath(runtime) && IsPrivateFolder(runtime)) {
        return runtime + u'/' + name;
    }
    const QString folder = QDir::tempPath() + QStringLiteral("/nagitori-") + QString::number(geteuid());
    return IsPrivateFolder(folder) ? folder + u'/' + name : QString();
#endif
}

SingleInstance::SingleInstance(const QString& socketPath, QObject* parent) : QObject(parent) {
    if (socketPath.isEmpty() || AskRunningCopy(socketPath)) {
        handedOver_ = !socketPath.isEmpty();
        return;
    }
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::Answer);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(socketPath) && server_.serverError() == QAbstractSocket::AddressInUseError) {
        // Nobody answered on it: the socket of a copy that crashed.
        QLocalServer::removeServer(socketPath);
        server_.listen(socketPath);
    }
}

bool SingleInstance::AskRunningCopy(const QString& socketPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kConnectMilliseconds)) {
        return false;
    }
    socket.write(kRequest);
    socket.waitForBytesWritten(kConnectMilliseconds);
    // The answer only tells that the request arrived; this copy ends either way.
    socket.waitForReadyRead(kConnectMilliseconds);
    return true;
}

void BringForward(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

void SingleInstance::Answer() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->canReadLine() && socket->readLine() == kRequest) {
                socket->write(kAnswer);
                emit Requested();
            }
        });
    }
}

}  // namespace nagitori
