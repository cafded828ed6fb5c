#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/KeyChord.h"

namespace nagitori::posix {

// GTK's accelerator text, as GNOME, Cinnamon, MATE and Xfce store shortcuts: "<Control><Alt>space".
// Xfce's settings name Control "<Primary>", and compare names as text.
enum class AcceleratorStyle { kControl, kPrimary };

std::string AcceleratorText(const KeyChord& chord, AcceleratorStyle style);

// The chord an accelerator text names, for comparing with another (qtCombined stays 0); nothing for an
// empty or "disabled" one, or one naming an unknown key. Modifiers this program never binds (Meta, Hyper,
// Mod2 ...) make the chord differ from every chord it binds.
std::optional<KeyChord> ParseAccelerator(std::string_view text);

}  // namespace nagitori::posix
