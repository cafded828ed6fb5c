#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/SummonKey.h"
#include "platform/Desktop.h"
#include "platform/SummonKeyBinding.h"
#include "platform/System.h"

class QWidget;

namespace nagitori {

// The place this session offers for the summon key: the desktop's own shortcut settings where it has them, else
// on X11 a key grab, else none. `command` runs the program, which hands over to the running copy; `pressed` is
// called for presses that reach the running copy directly, with their X11 time (0 when there is none).
std::unique_ptr<SummonKeyBinding> DesktopSummonKeyBinding(const std::string& command,
                                                          std::function<void(std::uint32_t)> pressed);

// The summon key of this session, with the program's own command; `window` owns its messages.
std::unique_ptr<SummonKey> DesktopSummonKey(System& system, Desktop& desktop, QWidget& window,
                                            std::function<void(std::uint32_t)> pressed);

}  // namespace nagitori
