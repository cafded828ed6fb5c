#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/SummonKeyBinding.h"

namespace nagitori::posix {

// The summon key as a global shortcut of KDE's shortcut service (kglobalaccel, in Plasma on X11 and Wayland),
// which tells the running copy of each press. The service keeps the shortcut under this program's component;
// while the program is not running the key is left to others.
class KGlobalAccelShortcut : public SummonKeyBinding {
public:
    // The names are what KDE's shortcut settings show. `pressed` gets the press's X11 time (0 when there is none)
    // and runs on the thread's GLib main context, which Qt's event loop runs.
    KGlobalAccelShortcut(std::string programName, std::string actionName, std::function<void(std::uint32_t)> pressed);
    ~KGlobalAccelShortcut() override;
    KGlobalAccelShortcut(const KGlobalAccelShortcut&) = delete;
    KGlobalAccelShortcut& operator=(const KGlobalAccelShortcut&) = delete;

    SummonKeyStatus Bind(const KeyChord& chord) override;
    void Unbind() override;

private:
    struct Listener;

    // Component, action and their names for people, as a list the service takes (null-terminated).
    std::vector<const char*> ActionId() const;
    void StopListening();

    std::string programName_;
    std::string actionName_;
    std::unique_ptr<Listener> listener_;
};

}  // namespace nagitori::posix
