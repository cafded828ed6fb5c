#include "app/BringForward.h"

#include <QGuiApplication>
#include <QWidget>
#include <cstring>
#include <string>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <memory>
#endif

namespace nagitori {

namespace {

#if QT_CONFIG(xcb)
xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_window_t RootOf(xcb_connection_t* connection, xcb_window_t window) {
    const std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> reply(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr), &std::free);
    return reply ? reply->root : xcb_window_t{XCB_WINDOW_NONE};
}

// A startup-notification value in double quotes, with '"' and '\' escaped.
std::string Quoted(const std::string& value) {
    std::string quoted = "\"";
    for (const char c : value) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + '"';
}

// Ends the desktop's startup notification of the start that asked, so that its busy cursor stops: the message
// goes to the root window in pieces of 20 bytes, the last one ending with a NUL.
void EndStartupNotification(xcb_connection_t* connection, xcb_window_t root, const std::string& startupId) {
    const std::string message = "remove: ID=" + Quoted(startupId);
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 8;
    event.window = root;
    event.type = Atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = Atom(connection, "_NET_STARTUP_INFO");
    const std::size_t length = message.size() + 1;
    for (std::size_t sent = 0; sent < length; sent += sizeof event.data.data8) {
        std::memset(event.data.data8, 0, sizeof event.data.data8);
        std::memcpy(event.data.data8, message.c_str() + sent, std::min(length - sent, sizeof event.data.data8));
        xcb_send_event(connection, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE, reinterpret_cast<const char*>(&event));
        event.type = more;
    }
}

// Asks the window manager to activate `window` as a pager would, for the user: window managers that keep other
// programs from taking the focus honour it, and those that compare times get the time of the user's action.
void RequestActivation(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window, std::uint32_t time) {
    constexpr std::uint32_t kSourcePager = 2;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom(connection, "_NET_ACTIVE_WINDOW");
    event.data.data32[0] = kSourcePager;
    event.data.data32[1] = time;
    event.data.data32[2] = XCB_WINDOW_NONE;
    xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

bool ActivateOnX11(QWidget& window, const ActivationContext& context) {
    // The offscreen platform answers to the X11 interface too, without a connection.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (QGuiApplication::platformName() != QStringLiteral("xcb") || connection == nullptr) {
        return false;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_window_t root = RootOf(connection, id);
    // Without a window manager Qt sets the input focus itself.
    window.activateWindow();
    RequestActivation(connection, root, id, context.X11Time());
    if (!context.startupId.empty()) {
        EndStartupNotification(connection, root, context.startupId);
    }
    xcb_flush(connection);
    return true;
}
#endif

// Qt's Wayland shell integration activates through xdg-activation with the token it finds in the environment,
// and takes it from there once used; it never stays to reach a program this one starts.
void ActivateOnWayland(QWidget& window, const ActivationContext& context) {
    if (!context.activationToken.empty()) {
        qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(context.activationToken));
    }
    window.activateWindow();
    qunsetenv("XDG_ACTIVATION_TOKEN");
}

}  // namespace

void BringForward(QWidget& window, const ActivationContext& context) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
#if QT_CONFIG(xcb)
    if (ActivateOnX11(window, context)) {
        return;
    }
#endif
    if (QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) {
        ActivateOnWayland(window, context);
    } else {
        window.activateWindow();
    }
}

}  // namespace nagitori
