#include <windows.h>

#include <QLocalSocket>
#include <QString>
#include <cstdlib>

#include "app/HandOver.h"
#include "app/HandOverTransport.h"

namespace nagitori {

// A session-wide mutex named after the pipe, waited for up to `bound`; a mutex its owner left by ending is had.
std::shared_ptr<void> LockBeside(const std::string& pipeName, std::chrono::milliseconds bound) {
    const QString name = QStringLiteral("Local\\") + QString::fromStdString(pipeName + ".lock");
    HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
    if (mutex == nullptr) {
        return nullptr;
    }
    const DWORD waited = WaitForSingleObject(mutex, static_cast<DWORD>(bound.count()));
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return nullptr;
    }
    return std::shared_ptr<void>(mutex, [](void* held) {
        ReleaseMutex(static_cast<HANDLE>(held));
        CloseHandle(static_cast<HANDLE>(held));
    });
}

// QLocalSocket's waits need no event loop: they serve here before the application exists.
bool AskRunningCopy(const std::string& pipeName, const std::string& request, std::chrono::milliseconds bound) {
    const int milliseconds = static_cast<int>(bound.count());
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(pipeName));
    if (!socket.waitForConnected(milliseconds)) {
        return false;
    }
    socket.write(request.data(), static_cast<qint64>(request.size()));
    if (!socket.waitForBytesWritten(milliseconds)) {
        return false;
    }
    QByteArray answer;
    while (answer.size() < static_cast<qsizetype>(kHandOverAnswer.size()) && socket.waitForReadyRead(milliseconds)) {
        answer += socket.readAll();
    }
    return answer.startsWith(QByteArray(kHandOverAnswer.data(), static_cast<qsizetype>(kHandOverAnswer.size())));
}

// Named pipes are machine-wide: the user's name keeps two users apart.
std::string InstanceSocketPath() {
    const char* user = std::getenv("USERNAME");
    return "nagitori-.socket-" + SafeName(user != nullptr ? user : "");
}

}  // namespace nagitori
