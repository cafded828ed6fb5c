// The hand-over under real window managers that keep programs from taking the focus: an X server (Xvfb), the
// window manager, the program's window behind another one or minimised, and a second start.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "support/TempDir.h"

namespace nagitori::test {
namespace {

namespace fs = std::filesystem;

struct WindowManager {
    const char* name;
    const char* package;
    QStringList command;
};

std::string WindowManagerName(const ::testing::TestParamInfo<WindowManager>& info) {
    return info.param.name;
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds) {
            return false;
        }
        QThread::msleep(25);
    }
    return true;
}

// What the test reads from and asks of the X server, as a pager and the user's input would.
class XServer {
public:
    explicit XServer(const std::string& display) : connection_(xcb_connect(display.c_str(), nullptr)) {
        if (xcb_connection_has_error(connection_) == 0) {
            root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        }
    }
    ~XServer() { xcb_disconnect(connection_); }
    bool Connected() const { return root_ != XCB_WINDOW_NONE; }

    xcb_atom_t Atom(const char* name) {
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(
                connection_, xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(strlen(name)), name), nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    std::vector<std::uint32_t> Property(xcb_window_t window, const char* name) {
        const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(
                connection_, xcb_get_property(connection_, 0, window, Atom(name), XCB_ATOM_ANY, 0, 4096), nullptr),
            &std::free);
        if (!reply || reply->format != 32) {
            return {};
        }
        const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
        return {values, values + xcb_get_property_value_length(reply.get()) / 4};
    }

    bool WindowManagerRuns() { return !Property(root_, "_NET_SUPPORTING_WM_CHECK").empty(); }

    std::uint32_t PidOf(xcb_window_t window) {
        const std::vector<std::uint32_t> pid = Property(window, "_NET_WM_PID");
        return pid.empty() ? 0 : pid[0];
    }

    xcb_window_t WindowOf(qint64 pid) {
        for (const std::uint32_t window : Property(root_, "_NET_CLIENT_LIST")) {
            if (PidOf(window) == pid) {
                return window;
            }
        }
        return XCB_WINDOW_NONE;
    }

    std::uint32_t ActivePid() {
        const std::vector<std::uint32_t> active = Property(root_, "_NET_ACTIVE_WINDOW");
        return active.empty() || active[0] == XCB_WINDOW_NONE ? 0 : PidOf(active[0]);
    }

    std::uint32_t TopmostPid() {
        const std::vector<std::uint32_t> stacking = Property(root_, "_NET_CLIENT_LIST_STACKING");
        return stacking.empty() ? 0 : PidOf(stacking.back());
    }

    // The time of the user's last action in the program of `pid`, as its windows tell the window manager.
    std::uint32_t UserTime(qint64 pid) {
        const xcb_window_t window = WindowOf(pid);
        const std::vector<std::uint32_t> timeWindow = Property(window, "_NET_WM_USER_TIME_WINDOW");
        const std::vector<std::uint32_t> time =
            Property(timeWindow.empty() ? window : timeWindow[0], "_NET_WM_USER_TIME");
        return time.empty() ? 0 : time[0];
    }

    bool IsHidden(xcb_window_t window) {
        const std::vector<std::uint32_t> state = Property(window, "_NET_WM_STATE");
        return std::find(state.begin(), state.end(), Atom("_NET_WM_STATE_HIDDEN")) != state.end();
    }

    // The server's time now: the time of a property change on a window of the test's own.
    std::uint32_t Time() {
        const xcb_window_t window = xcb_generate_id(connection_);
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, root_, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 1, "t");
        xcb_flush(connection_);
        std::uint32_t time = 0;
        while (xcb_generic_event_t* event = xcb_wait_for_event(connection_)) {
            const bool found = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
            if (found) {
                time = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
            }
            std::free(event);
            if (found) {
                break;
            }
        }
        xcb_destroy_window(connection_, window);
        xcb_flush(connection_);
        return time;
    }

    // As the window's minimise button would.
    void Minimise(xcb_window_t window) {
        constexpr std::uint32_t kIconicState = 3;
        SendToRoot(window, Atom("WM_CHANGE_STATE"), {kIconicState, 0, 0, 0, 0});
    }

    // As a click on the window's entry in a task bar would, at the server's current time.
    void ActivateAsPager(xcb_window_t window) {
        SendToRoot(window, Atom("_NET_ACTIVE_WINDOW"), {2, XCB_CURRENT_TIME, 0, 0, 0});
    }

private:
    void SendToRoot(xcb_window_t window, xcb_atom_t type, std::array<std::uint32_t, 5> data) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = type;
        std::copy(data.begin(), data.end(), event.data.data32);
        xcb_send_event(connection_, 0, root_, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(connection_);
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = XCB_WINDOW_NONE;
};

class WindowManagerActivation : public ::testing::TestWithParam<WindowManager> {
protected:
    void SetUp() override {
        const WindowManager& manager = GetParam();
        const std::pair<QString, std::string> tools[] = {{QStringLiteral("Xvfb"), "xvfb"},
                                                         {QStringLiteral("xdotool"), "xdotool"},
                                                         {QStringLiteral("dbus-run-session"), "dbus-daemon"},
                                                         {manager.command.first(), manager.package}};
        for (const auto& [tool, package] : tools) {
            if (QStandardPaths::findExecutable(tool).isEmpty()) {
                GTEST_SKIP() << tool.toStdString() << " is not installed (Debian package " << package << ")";
            }
        }
        fs::create_directories(dir_ / "runtime");
        fs::permissions(dir_ / "runtime", fs::perms::owner_all);
        environment_.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString((dir_ / "runtime").string()));
        environment_.insert(QStringLiteral("HOME"), QString::fromStdString(dir_.Path().string()));
        environment_.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString((dir_ / "config").string()));
        environment_.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment_.remove(QStringLiteral("DESKTOP_STARTUP_ID"));
        environment_.remove(QStringLiteral("XDG_ACTIVATION_TOKEN"));
        environment_.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        ASSERT_TRUE(StartXServer()) << "no X server could be started";
        x_ = std::make_unique<XServer>(display_);
        ASSERT_TRUE(x_->Connected());
        Start(QStringLiteral("dbus-run-session"), QStringList{QStringLiteral("--")} + manager.command);
        ASSERT_TRUE(WaitFor([this] { return x_->WindowManagerRuns(); }, 30000)) << manager.name << " did not start";
    }

    void TearDown() override {
        x_.reset();
        // Each process leads a group of its own: the session bus that dbus-run-session starts ends with it.
        for (auto it = started_.rbegin(); it != started_.rend(); ++it) {
            if ((*it)->state() != QProcess::NotRunning) {
                kill(-static_cast<pid_t>((*it)->processId()), SIGTERM);
                if (!(*it)->waitForFinished(3000)) {
                    kill(-static_cast<pid_t>((*it)->processId()), SIGKILL);
                    (*it)->waitForFinished(3000);
                }
            }
        }
    }

    // Xvfb on the first display number nobody holds.
    bool StartXServer() {
        for (int number = 20; number < 100; ++number) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))) {
                continue;
            }
            display_ = ":" + std::to_string(number);
            QProcess& server =
                Start(QStringLiteral("Xvfb"),
                      {QString::fromStdString(display_), QStringLiteral("-screen"), QStringLiteral("0"),
                       QStringLiteral("1280x800x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
            // Another test may have taken the same number a moment ago: the display is ours once its lock file
            // names our server, and a server that lost the race ends.
            const QString lock = QStringLiteral("/tmp/.X%1-lock").arg(number);
            const auto ours = [&] {
                QFile file(lock);
                return file.open(QIODevice::ReadOnly) && file.readAll().trimmed().toLongLong() == server.processId();
            };
            const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
            if (WaitFor([&] { return (ours() && QFileInfo::exists(socket)) || server.state() == QProcess::NotRunning; },
                        10000) &&
                server.state() == QProcess::Running) {
                environment_.insert(QStringLiteral("DISPLAY"), QString::fromStdString(display_));
                return true;
            }
        }
        return false;
    }

    QProcess& Start(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment = {}) {
        started_.push_back(std::make_unique<QProcess>());
        QProcess& process = *started_.back();
        process.setProcessEnvironment(environment.isEmpty() ? environment_ : environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setChildProcessModifier([] { setpgid(0, 0); });
        process.start(program, arguments);
        process.waitForStarted();
        return process;
    }

    // The program with a runtime folder of its own: copies with different folders are different programs to
    // each other, and to the window manager.
    QProcessEnvironment ProgramEnvironment(const std::string& name) {
        const fs::path runtime = dir_ / name;
        fs::create_directories(runtime);
        fs::permissions(runtime, fs::perms::owner_all);
        QProcessEnvironment environment = environment_;
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(runtime.string()));
        return environment;
    }

    QProcess& StartProgram(const QProcessEnvironment& environment) {
        return Start(QStringLiteral(NAGITORI_PROGRAM), {}, environment);
    }

    // A second start of the program, as a launcher starts it when the user clicks it right after typing in the
    // program of `typedIn`; true when it handed over. (Xvfb's clock for property changes lags behind its input
    // events, so the click's time is taken from the typing: programs tell the time of a key's press, and window
    // managers that watch the keyboard also see its release, a few milliseconds later.)
    bool SecondStart(QProcessEnvironment environment, bool withContext, qint64 typedIn) {
        if (withContext) {
            constexpr std::uint32_t kClickAfterTyping = 100;
            const std::uint32_t click = std::max(x_->Time(), x_->UserTime(typedIn) + kClickAfterTyping);
            environment.insert(QStringLiteral("DESKTOP_STARTUP_ID"),
                               QStringLiteral("launcher-%1-test_TIME%2").arg(getpid()).arg(click));
        }
        QProcess& second = Start(QStringLiteral(NAGITORI_PROGRAM), {}, environment);
        return second.waitForFinished(10000) && second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0;
    }

    // The user types in the program of `pid`, which has the focus: window managers that compare times now count
    // its window as in use. Done once the program has told the window manager of the key's press and release.
    void TypeIn(qint64 pid) {
        const std::uint32_t before = x_->UserTime(pid);
        QProcess& typing = Start(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("shift")});
        typing.waitForFinished(5000);
        ASSERT_TRUE(WaitFor([&] { return x_->UserTime(pid) != before; }, 5000));
        // The release may be told a moment after the press.
        std::uint32_t seen = x_->UserTime(pid);
        ASSERT_TRUE(WaitFor(
            [&] {
                QThread::msleep(250);
                const std::uint32_t now = x_->UserTime(pid);
                const bool settled = now == seen;
                seen = now;
                return settled;
            },
            5000));
    }

    bool InFrontWithFocus(qint64 pid) {
        return WaitFor([&] { return x_->ActivePid() == pid && x_->TopmostPid() == pid; }, 5000);
    }

    TempDir dir_;
    std::string display_;
    QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();
    std::vector<std::unique_ptr<QProcess>> started_;
    std::unique_ptr<XServer> x_;
};

TEST_P(WindowManagerActivation, SecondStartBringsTheWindowInFrontWithFocus) {
    const QProcessEnvironment launcher = ProgramEnvironment("launcher");
    const QProcessEnvironment other = ProgramEnvironment("other");
    const qint64 launcherPid = StartProgram(launcher).processId();
    ASSERT_TRUE(InFrontWithFocus(launcherPid));
    const qint64 otherPid = StartProgram(other).processId();
    ASSERT_TRUE(InFrontWithFocus(otherPid)) << "the other window did not come up in front";
    const xcb_window_t window = x_->WindowOf(launcherPid);
    const xcb_window_t otherWindow = x_->WindowOf(otherPid);
    ASSERT_NE(window, XCB_WINDOW_NONE);

    // Behind another window that the user is typing in.
    TypeIn(otherPid);
    ASSERT_TRUE(SecondStart(launcher, true, otherPid));
    EXPECT_TRUE(InFrontWithFocus(launcherPid)) << "behind another window";

    // Minimised.
    x_->Minimise(window);
    ASSERT_TRUE(WaitFor([&] { return x_->IsHidden(window); }, 5000));
    x_->ActivateAsPager(otherWindow);
    ASSERT_TRUE(InFrontWithFocus(otherPid));
    TypeIn(otherPid);
    ASSERT_TRUE(SecondStart(launcher, true, otherPid));
    EXPECT_TRUE(InFrontWithFocus(launcherPid)) << "minimised";
    EXPECT_FALSE(x_->IsHidden(window));

    // From a terminal: no context at all.
    x_->ActivateAsPager(otherWindow);
    ASSERT_TRUE(InFrontWithFocus(otherPid));
    TypeIn(otherPid);
    ASSERT_TRUE(SecondStart(launcher, false, otherPid));
    EXPECT_TRUE(InFrontWithFocus(launcherPid)) << "without a context";
}

INSTANTIATE_TEST_SUITE_P(
    X11, WindowManagerActivation,
    ::testing::Values(WindowManager{"openbox", "openbox", {QStringLiteral("openbox"), QStringLiteral("--sm-disable")}},
                      WindowManager{"kwin", "kwin-x11", {QStringLiteral("kwin_x11"), QStringLiteral("--replace")}},
                      WindowManager{"mutter",
                                    "mutter",
                                    {QStringLiteral("mutter"), QStringLiteral("--x11"), QStringLiteral("--replace"),
                                     QStringLiteral("--sm-disable")}}),
    WindowManagerName);

}  // namespace
}  // namespace nagitori::test
