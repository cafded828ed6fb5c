#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QThread>
#include <QWidget>
#include <cstring>
#include <filesystem>
#include <future>

#include "app/SingleInstance.h"
#include "support/TempDir.h"

namespace nagitori::test {
namespace {

namespace fs = std::filesystem;

QString Native(const fs::path& path) {
    return QString::fromStdString(path.string());
}

// A later copy, started on another thread so that this one's event loop can answer it.
bool StartLaterCopy(const QString& socket) {
    std::future<bool> later = std::async(std::launch::async, [socket] { return SingleInstance(socket).HandedOver(); });
    while (later.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
        QCoreApplication::processEvents();
    }
    return later.get();
}

TEST(SingleInstance, LaterCopyHandsOverAndTheFirstComesForward) {
    TempDir dir;
    const QString socket = Native(dir / "nagitori.socket");
    SingleInstance first(socket);
    ASSERT_FALSE(first.HandedOver());
    QWidget window;
    window.showMinimized();
    QObject::connect(&first, &SingleInstance::Requested, &window, [&window] { BringForward(window); });
    QSignalSpy requests(&first, &SingleInstance::Requested);

    EXPECT_TRUE(StartLaterCopy(socket));
    EXPECT_TRUE(requests.count() == 1 || requests.wait(2000));
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
}

TEST(SingleInstance, TakesOverTheSocketOfACopyThatCrashed) {
    TempDir dir;
    const fs::path path = dir / "nagitori.socket";
    // A socket file nobody listens on, as a killed copy leaves it.
    const int stale = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(stale);

    SingleInstance first(Native(path));
    EXPECT_FALSE(first.HandedOver());
    QSignalSpy requests(&first, &SingleInstance::Requested);
    EXPECT_TRUE(StartLaterCopy(Native(path)));
    EXPECT_TRUE(requests.count() == 1 || requests.wait(2000));
}

TEST(SingleInstance, SocketIsPrivateToTheUserAndNamedAfterTheDisplay) {
    TempDir dir;
    const fs::path runtime = dir / "runtime";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray savedDisplay = qgetenv("DISPLAY");
    const QByteArray savedWayland = qgetenv("WAYLAND_DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("DISPLAY", ":7");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.string()));
    EXPECT_EQ(SingleInstance::SocketPath(), Native(runtime / "nagitori-_7.socket"));

    // A runtime folder others may write is no place for it; the user's own folder in the temporary folder is.
    fs::permissions(runtime, fs::perms::all);
    const QString fallback = SingleInstance::SocketPath();
    EXPECT_TRUE(fallback.endsWith(QStringLiteral("/nagitori-") + QString::number(geteuid()) +
                                  QStringLiteral("/nagitori-_7.socket")))
        << fallback.toStdString();
    EXPECT_EQ(QFileInfo(QFileInfo(fallback).path()).permissions() & (QFile::ReadOther | QFile::WriteOther),
              QFileDevice::Permissions());

    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    qputenv("DISPLAY", savedDisplay);
    qputenv("WAYLAND_DISPLAY", savedWayland);
}

// The real program, twice: the second start ends at once and the first keeps serving.
TEST(SingleInstance, SecondStartOfTheProgramEndsAtOnce) {
    TempDir dir;
    const fs::path runtime = dir / "runtime";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), Native(runtime));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Native(dir / "config"));
    environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":99"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    const QString socket = Native(runtime / "nagitori-_99.socket");

    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(QStringLiteral(NAGITORI_PROGRAM), {});
    ASSERT_TRUE(first.waitForStarted());
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(socket) && clock.elapsed() < 10000) {
        QThread::msleep(20);
    }
    ASSERT_TRUE(QFileInfo::exists(socket));

    QProcess second;
    second.setProcessEnvironment(environment);
    clock.restart();
    second.start(QStringLiteral(NAGITORI_PROGRAM), {});
    ASSERT_TRUE(second.waitForFinished(5000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    QLocalSocket ask;
    ask.connectToServer(socket);
    ASSERT_TRUE(ask.waitForConnected(2000));
    ask.write("show\n");
    ASSERT_TRUE(ask.waitForReadyRead(5000));
    EXPECT_EQ(ask.readAll(), QByteArray("ok\n"));

    first.terminate();
    first.waitForFinished(5000);
}

}  // namespace
}  // namespace nagitori::test
