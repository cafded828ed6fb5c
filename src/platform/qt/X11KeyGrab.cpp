#include "platform/qt/X11KeyGrab.h"

#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <QGuiApplication>
#include <QMetaObject>
#include <algorithm>
#include <cstdlib>
#include <utility>

namespace nagitori {

namespace {

constexpr std::uint8_t kBadAccess = 10;

// xcb's replies and errors are malloc'ed.
struct Free {
    void operator()(void* memory) const { std::free(memory); }
};
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, Free>;

// The server's keyboard map: keysyms per keycode.
class KeyboardMap {
public:
    explicit KeyboardMap(xcb_connection_t* connection) {
        const xcb_setup_t* setup = xcb_get_setup(connection);
        first_ = setup->min_keycode;
        const auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
        const ReplyPtr<xcb_get_keyboard_mapping_reply_t> reply(
            xcb_get_keyboard_mapping_reply(connection, xcb_get_keyboard_mapping(connection, first_, count), nullptr));
        if (!reply) {
            return;
        }
        perKeycode_ = reply->keysyms_per_keycode;
        const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
        keysyms_.assign(keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(reply.get()));
    }

    // Every keycode that gives the keysym, at any level.
    std::vector<std::uint8_t> Keycodes(std::uint32_t keysym) const {
        std::vector<std::uint8_t> keycodes;
        for (size_t i = 0; perKeycode_ != 0 && i < keysyms_.size(); ++i) {
            const auto keycode = static_cast<std::uint8_t>(first_ + i / perKeycode_);
            if (keysyms_[i] == keysym && (keycodes.empty() || keycodes.back() != keycode)) {
                keycodes.push_back(keycode);
            }
        }
        return keycodes;
    }

private:
    std::uint8_t first_ = 0;
    std::uint8_t perKeycode_ = 0;
    std::vector<xcb_keysym_t> keysyms_;
};

}  // namespace

struct X11KeyGrab::Masks {
    std::uint16_t alt = XCB_MOD_MASK_1;
    std::uint16_t super = XCB_MOD_MASK_4;
    std::uint16_t numLock = XCB_MOD_MASK_2;
};

std::unique_ptr<X11KeyGrab> X11KeyGrab::Create(std::function<void(std::uint32_t)> pressed) {
    auto* x11 = qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return nullptr;
    }
    xcb_connection_t* connection = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    return std::unique_ptr<X11KeyGrab>(new X11KeyGrab(connection, screen->root, std::move(pressed)));
}

X11KeyGrab::X11KeyGrab(xcb_connection_t* connection, std::uint32_t root, std::function<void(std::uint32_t)> pressed)
    : connection_(connection), root_(root), pressed_(std::move(pressed)) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11KeyGrab::~X11KeyGrab() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    Ungrab();
}

X11KeyGrab::Masks X11KeyGrab::CurrentMasks() const {
    Masks masks;
    const ReplyPtr<xcb_get_modifier_mapping_reply_t> reply(
        xcb_get_modifier_mapping_reply(connection_, xcb_get_modifier_mapping(connection_), nullptr));
    if (!reply) {
        return masks;
    }
    const KeyboardMap map(connection_);
    const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    auto maskOf = [&](std::uint32_t keysym, std::uint16_t fallback) {
        const std::vector<std::uint8_t> wanted = map.Keycodes(keysym);
        // Rows 0 to 2 are Shift, Lock and Control; Mod1 to Mod5 follow.
        for (int row = 3; row < 8; ++row) {
            for (int i = 0; i < perModifier; ++i) {
                const xcb_keycode_t keycode = keycodes[row * perModifier + i];
                if (keycode != 0 && std::find(wanted.begin(), wanted.end(), keycode) != wanted.end()) {
                    return static_cast<std::uint16_t>(1u << row);
                }
            }
        }
        return fallback;
    };
    masks.alt = maskOf(XKB_KEY_Alt_L, masks.alt);
    masks.super = maskOf(XKB_KEY_Super_L, masks.super);
    masks.numLock = maskOf(XKB_KEY_Num_Lock, masks.numLock);
    return masks;
}

SummonKeyStatus X11KeyGrab::Bind(const KeyChord& chord) {
    Ungrab();
    const Masks masks = CurrentMasks();
    std::uint16_t modifiers = 0;
    const std::pair<unsigned, std::uint16_t> bits[] = {
        {KeyChord::kShift, XCB_MOD_MASK_SHIFT},
        {KeyChord::kControl, XCB_MOD_MASK_CONTROL},
        {KeyChord::kAlt, masks.alt},
        {KeyChord::kSuper, masks.super},
    };
    for (const auto& [bit, mask] : bits) {
        if (chord.modifiers & bit) {
            modifiers |= mask;
        }
    }
    const std::vector<std::uint8_t> keycodes = KeyboardMap(connection_).Keycodes(chord.keysym);
    if (keycodes.empty()) {
        return SummonKeyStatus::kFailed;
    }
    keycodes_ = keycodes;
    modifiers_ = modifiers;
    ignored_ = static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | masks.numLock);
    locks_ = {0, XCB_MOD_MASK_LOCK, masks.numLock, ignored_};
    std::vector<xcb_void_cookie_t> cookies;
    for (std::uint8_t keycode : keycodes_) {
        for (std::uint16_t lock : locks_) {
            cookies.push_back(xcb_grab_key_checked(connection_, 1, root_, modifiers | lock, keycode,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        }
    }
    SummonKeyStatus status = SummonKeyStatus::kBound;
    for (xcb_void_cookie_t cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
            // Another client holds the key: the server refuses with BadAccess.
            status = error->error_code == kBadAccess ? SummonKeyStatus::kTaken : SummonKeyStatus::kFailed;
            std::free(error);
        }
    }
    if (status != SummonKeyStatus::kBound) {
        Ungrab();
    }
    return status;
}

void X11KeyGrab::Unbind() {
    Ungrab();
}

void X11KeyGrab::Ungrab() {
    for (std::uint8_t keycode : keycodes_) {
        for (std::uint16_t lock : locks_) {
            xcb_ungrab_key(connection_, keycode, root_, modifiers_ | lock);
        }
    }
    if (!keycodes_.empty()) {
        xcb_flush(connection_);
    }
    keycodes_.clear();
}

bool X11KeyGrab::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (keycodes_.empty() || eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS) {
        return false;
    }
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    const bool ours = press->event == root_ &&
                      std::find(keycodes_.begin(), keycodes_.end(), press->detail) != keycodes_.end() &&
                      (press->state & ~ignored_ & 0xff) == modifiers_;
    if (ours) {
        // Qt goes on with the event and takes its time as the user's; the window comes forward after that.
        const std::uint32_t time = press->time;
        QMetaObject::invokeMethod(
            &context_, [this, time] { pressed_(time); }, Qt::QueuedConnection);
    }
    return false;
}

}  // namespace nagitori
