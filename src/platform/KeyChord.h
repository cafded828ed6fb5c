#pragma once

#include <cstdint>

namespace nagitori {

// One key with its modifiers, in the terms desktops keep shortcuts in.
struct KeyChord {
    enum Modifier : unsigned { kShift = 1u << 0, kControl = 1u << 1, kAlt = 1u << 2, kSuper = 1u << 3 };

    unsigned modifiers = 0;
    // The key's X keysym; a letter's is the lower-case one, as accelerators name it.
    std::uint32_t keysym = 0;
    // Qt's code of the same chord, key and modifier bits together: the form KDE's shortcut service keeps.
    int qtCombined = 0;

    bool SameKeys(const KeyChord& other) const { return modifiers == other.modifiers && keysym == other.keysym; }
};

}  // namespace nagitori
