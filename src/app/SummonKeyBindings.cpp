#include "app/SummonKeyBindings.h"

#include "common/Messages.h"
#include "platform/posix/CustomKeybinding.h"
#include "platform/posix/KGlobalAccelShortcut.h"
#include "platform/posix/PosixEnvironment.h"
#include "platform/posix/SummonDesktop.h"
#include "platform/posix/XfconfShortcut.h"
#include "platform/qt/X11KeyGrab.h"

namespace nagitori {

namespace {

// What KDE's shortcut settings list the key as.
constexpr char kActionName[] = "ウィンドウを呼び出す";

// A session where only the user can bind the key, in the compositor's own configuration.
class NoBinding : public SummonKeyBinding {
public:
    SummonKeyStatus Bind(const KeyChord&) override { return SummonKeyStatus::kUnsupported; }
    void Unbind() override {}
};

}  // namespace

std::unique_ptr<SummonKeyBinding> DesktopSummonKeyBinding(const std::string& command,
                                                          std::function<void(std::uint32_t)> pressed) {
    using posix::SummonDesktop;
    switch (posix::DetectSummonDesktop(posix::PosixEnvironment::FromProcess())) {
        case SummonDesktop::kKde:
            return std::make_unique<posix::KGlobalAccelShortcut>(messages::kApplicationTitle, kActionName,
                                                                 std::move(pressed));
        case SummonDesktop::kGnome:
            return std::make_unique<posix::CustomKeybinding>(posix::GnomeKeybindings(), messages::kApplicationTitle,
                                                             command);
        case SummonDesktop::kCinnamon:
            return std::make_unique<posix::CustomKeybinding>(posix::CinnamonKeybindings(), messages::kApplicationTitle,
                                                             command);
        case SummonDesktop::kMate:
            return std::make_unique<posix::CustomKeybinding>(posix::MateKeybindings(), messages::kApplicationTitle,
                                                             command);
        case SummonDesktop::kXfce: return std::make_unique<posix::XfconfShortcut>(command);
        case SummonDesktop::kX11Grab:
            if (std::unique_ptr<X11KeyGrab> grab = X11KeyGrab::Create(std::move(pressed))) {
                return grab;
            }
            break;
        case SummonDesktop::kNone: break;
    }
    return std::make_unique<NoBinding>();
}

std::unique_ptr<SummonKey> DesktopSummonKey(System& system, Desktop& desktop, QWidget& window,
                                            std::function<void(std::uint32_t)> pressed) {
    const std::string command = posix::ShortcutCommand(system.ExecutablePath());
    return std::make_unique<SummonKey>(desktop, window, DesktopSummonKeyBinding(command, std::move(pressed)),
                                       QString::fromStdString(command));
}

}  // namespace nagitori
