#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QThread>
#include <QWidget>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/BringForward.h"
#include "app/SingleInstance.h"
#include "support/TempDir.h"

namespace nagitori::test {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// A later start, on another thread so that this one's event loop can answer it.
bool StartLaterCopy(const std::string& socket, const ActivationContext& context = {}) {
    std::future<bool> later =
        std::async(std::launch::async, [&] { return InstanceClaim::Claim(socket, context).HandedOver(); });
    while (later.wait_for(milliseconds(5)) != std::future_status::ready) {
        QCoreApplication::processEvents();
    }
    return later.get();
}

TEST(SingleInstance, LaterStartHandsOverItsContextAndTheWindowComesForward) {
    TempDir dir;
    const std::string socket = (dir / "nagitori.socket").string();
    InstanceClaim claim = InstanceClaim::Claim(socket, {});
    ASSERT_FALSE(claim.HandedOver());
    SingleInstance first(claim);
    QWidget window;
    window.showMinimized();
    QObject::connect(&first, &SingleInstance::Requested, &window,
                     [&window](const ActivationContext& context) { BringForward(window, context); });
    QSignalSpy requests(&first, &SingleInstance::Requested);

    EXPECT_TRUE(StartLaterCopy(socket, {"wayland-token", "launcher-1_TIME42"}));
    ASSERT_TRUE(requests.count() == 1 || requests.wait(2000));
    const auto context = requests.at(0).at(0).value<ActivationContext>();
    EXPECT_EQ(context.activationToken, "wayland-token");
    EXPECT_EQ(context.startupId, "launcher-1_TIME42");
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
    // The token served this activation only: programs started later must not inherit it.
    EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
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

    InstanceClaim claim = InstanceClaim::Claim(path.string(), {});
    ASSERT_FALSE(claim.HandedOver());
    SingleInstance first(claim);
    QSignalSpy requests(&first, &SingleInstance::Requested);
    EXPECT_TRUE(StartLaterCopy(path.string()));
    EXPECT_TRUE(requests.count() == 1 || requests.wait(2000));
}

// A peer on the socket, written to by hand.
class RawPeer {
public:
    explicit RawPeer(const fs::path& path) : fd_(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawPeer() { close(fd_); }
    RawPeer(const RawPeer&) = delete;
    RawPeer& operator=(const RawPeer&) = delete;

    bool Connected() const { return connected_; }
    void Send(const std::string& bytes) const { send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    // What the running copy sent until it closed the connection, while its event loop runs; nullopt when it kept
    // the connection open for `within`.
    std::optional<std::string> ReceiveUntilClosed(milliseconds within) const {
        std::string received;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < within.count()) {
            QCoreApplication::processEvents();
            char buffer[64];
            const ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
            if (got > 0) {
                received.append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
                return received;
            } else {
                QThread::msleep(2);
            }
        }
        return std::nullopt;
    }

private:
    int fd_;
    bool connected_ = false;
};

// Starts of other programs of this kind, or anything else that finds the socket: a request that comes in pieces is
// answered once whole, one that grows past any request is dropped unanswered, and a peer that says nothing holds up
// no later start.
TEST(SingleInstance, AnswersWholeRequestsOnlyAndNoPeerHoldsItUp) {
    TempDir dir;
    const fs::path path = dir / "nagitori.socket";
    InstanceClaim claim = InstanceClaim::Claim(path.string(), {});
    ASSERT_FALSE(claim.HandedOver());
    SingleInstance first(claim);
    QSignalSpy requests(&first, &SingleInstance::Requested);

    const RawPeer silent(path);
    ASSERT_TRUE(silent.Connected());
    const RawPeer pieces(path);
    ASSERT_TRUE(pieces.Connected());
    pieces.Send("show\nDESKTOP_STARTUP_ID=id_TIME7\n");
    EXPECT_FALSE(pieces.ReceiveUntilClosed(milliseconds(200)).has_value());
    EXPECT_EQ(requests.count(), 0);
    pieces.Send("\n");
    EXPECT_EQ(pieces.ReceiveUntilClosed(milliseconds(5000)), std::string(kHandOverAnswer));
    ASSERT_EQ(requests.count(), 1);
    EXPECT_EQ(requests.at(0).at(0).value<ActivationContext>().startupId, "id_TIME7");

    const RawPeer flood(path);
    ASSERT_TRUE(flood.Connected());
    flood.Send(std::string(kMaxRequestBytes + 100, 'x'));
    EXPECT_EQ(flood.ReceiveUntilClosed(milliseconds(5000)), std::string());
    EXPECT_EQ(requests.count(), 1);

    EXPECT_TRUE(StartLaterCopy(path.string()));
    EXPECT_TRUE(requests.count() == 2 || requests.wait(2000));
}

// Only its user may reach the socket; the copy that ends takes it away.
TEST(SingleInstance, SocketIsTheUsersAloneAndGoesWithTheCopy) {
    TempDir dir;
    const fs::path path = dir / "nagitori.socket";
    {
        InstanceClaim claim = InstanceClaim::Claim(path.string(), {});
        ASSERT_FALSE(claim.HandedOver());
        SingleInstance first(claim);
        ASSERT_TRUE(fs::is_socket(path));
        EXPECT_EQ(fs::status(path).permissions() & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(path)));
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
    EXPECT_EQ(InstanceSocketPath(), (runtime / "nagitori-_7.socket").string());
    qputenv("WAYLAND_DISPLAY", "wayland-1");
    EXPECT_EQ(InstanceSocketPath(), (runtime / "nagitori-wayland-1.socket").string());

    // A runtime folder others may write is no place for it; the user's own folder in the temporary folder is.
    fs::permissions(runtime, fs::perms::all);
    const fs::path fallback = InstanceSocketPath();
    EXPECT_EQ(fallback.parent_path().filename(), "nagitori-" + std::to_string(geteuid()));
    EXPECT_EQ(fallback.filename(), "nagitori-wayland-1.socket");
    EXPECT_EQ(fs::status(fallback.parent_path()).permissions() & (fs::perms::group_all | fs::perms::others_all),
              fs::perms::none);

    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    qputenv("DISPLAY", savedDisplay);
    qputenv("WAYLAND_DISPLAY", savedWayland);
}

// The real program, started as a user would, in a private runtime folder.
class ProgramStarts : public ::testing::Test {
protected:
    ProgramStarts() {
        fs::create_directories(runtime_);
        fs::permissions(runtime_, fs::perms::owner_all);
        environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment_.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(runtime_.string()));
        environment_.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString((dir_ / "config").string()));
        environment_.insert(QStringLiteral("DISPLAY"), QStringLiteral(":99"));
        environment_.remove(QStringLiteral("WAYLAND_DISPLAY"));
    }
    ~ProgramStarts() override {
        for (const auto& process : started_) {
            // A copy that has ended has no id: kill(0) would wake every stopped process of the group, other
            // tests' among them.
            if (const auto pid = static_cast<pid_t>(process->processId()); pid > 0) {
                kill(pid, SIGCONT);
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    QProcess& Start() {
        started_.push_back(std::make_unique<QProcess>());
        QProcess& process = *started_.back();
        process.setProcessEnvironment(environment_);
        process.start(QStringLiteral(NAGITORI_PROGRAM), {});
        EXPECT_TRUE(process.waitForStarted());
        return process;
    }

    // True once a copy answers on the program's socket (this test asking as a later start would).
    bool CopyAnswers(milliseconds within) const {
        const std::string socket = (runtime_ / "nagitori-_99.socket").string();
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < within.count()) {
            if (InstanceClaim::Claim(socket, {}, {milliseconds(5000), milliseconds(500)}).HandedOver()) {
                return true;
            }
            QThread::msleep(20);
        }
        return false;
    }

    TempDir dir_;
    fs::path runtime_ = dir_ / "runtime";
    QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();
    std::vector<std::unique_ptr<QProcess>> started_;
};

TEST_F(ProgramStarts, SecondStartHandsOverAndEndsAtOnce) {
    QProcess& first = Start();
    ASSERT_TRUE(CopyAnswers(milliseconds(10000)));

    QElapsedTimer clock;
    clock.start();
    QProcess& second = Start();
    ASSERT_TRUE(second.waitForFinished(5000));
    // How fast is the benchmark's business; waiting out the answer bound, or starting a window, is not fast.
    EXPECT_LT(clock.elapsed(), 900);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_TRUE(CopyAnswers(milliseconds(2000)));
}

TEST_F(ProgramStarts, StoppedFirstCopyLeavesTheNextStartItsOwnWindow) {
    QProcess& first = Start();
    ASSERT_TRUE(CopyAnswers(milliseconds(10000)));
    ASSERT_EQ(kill(static_cast<pid_t>(first.processId()), SIGSTOP), 0);

    QProcess& second = Start();
    // It shows its window and serves: a later start hands over to it while the first is still stopped.
    EXPECT_FALSE(second.waitForFinished(2500))
        << "ended with " << second.exitCode() << ": " << second.readAllStandardError().toStdString();
    EXPECT_TRUE(CopyAnswers(milliseconds(10000)));
    QProcess& third = Start();
    ASSERT_TRUE(third.waitForFinished(5000));
    EXPECT_EQ(third.exitCode(), 0);
    EXPECT_EQ(second.state(), QProcess::Running);
}

TEST_F(ProgramStarts, StartsAtTheSameMomentLeaveOneCopy) {
    constexpr int kTrials = 4;
    constexpr int kStarts = 4;
    for (int trial = 0; trial < kTrials; ++trial) {
        std::vector<QProcess*> starts;
        for (int i = 0; i < kStarts; ++i) {
            starts.push_back(&Start());
        }
        QElapsedTimer clock;
        clock.start();
        const auto running = [&starts] {
            return std::count_if(starts.begin(), starts.end(),
                                 [](QProcess* p) { return p->state() != QProcess::NotRunning; });
        };
        while (running() > 1 && clock.elapsed() < 20000) {
            QThread::msleep(20);
            for (QProcess* process : starts) {
                process->waitForFinished(0);
            }
        }
        // The one left is serving, not about to end as well.
        EXPECT_TRUE(CopyAnswers(milliseconds(10000)));
        EXPECT_EQ(running(), 1) << "trial " << trial;
        for (QProcess* process : starts) {
            if (process->state() == QProcess::NotRunning) {
                EXPECT_EQ(process->exitCode(), 0);
            }
            process->kill();
            process->waitForFinished(5000);
        }
    }
}

}  // namespace
}  // namespace nagitori::test
