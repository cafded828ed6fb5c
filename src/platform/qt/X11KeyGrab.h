#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/SummonKeyBinding.h"

struct xcb_connection_t;

namespace nagitori {

// The summon key grabbed on the X server's root window by the running copy, for window managers without a
// shortcut store of their own. NumLock and CapsLock count as modifiers to the server, so the key is grabbed with
// and without each. The grab ends with the program.
class X11KeyGrab : public SummonKeyBinding, private QAbstractNativeEventFilter {
public:
    // Null when the application does not run on X11. `pressed` gets the press's X11 time, after Qt has taken it as
    // the time of the user's last action.
    static std::unique_ptr<X11KeyGrab> Create(std::function<void(std::uint32_t)> pressed);
    ~X11KeyGrab() override;
    X11KeyGrab(const X11KeyGrab&) = delete;
    X11KeyGrab& operator=(const X11KeyGrab&) = delete;

    SummonKeyStatus Bind(const KeyChord& chord) override;
    void Unbind() override;

private:
    X11KeyGrab(xcb_connection_t* connection, std::uint32_t root, std::function<void(std::uint32_t)> pressed);
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    // The modifier masks of Alt, Super and NumLock in the server's current modifier mapping.
    struct Masks;
    Masks CurrentMasks() const;
    void Ungrab();

    xcb_connection_t* connection_;
    std::uint32_t root_;
    std::function<void(std::uint32_t)> pressed_;
    QObject context_;
    std::vector<std::uint8_t> keycodes_;
    std::uint16_t modifiers_ = 0;
    std::uint16_t ignored_ = 0;         // lock modifiers a press may carry
    std::vector<std::uint16_t> locks_;  // each combination of them, grabbed
};

}  // namespace nagitori
