#pragma once

#include <QKeySequence>
#include <optional>

#include "platform/KeyChord.h"

namespace nagitori {

// The chord of a one-key sequence that can serve as a key for the whole desktop: a function key, or any other key
// held with Ctrl, Alt or Super, so that typing elsewhere is never taken. Nothing for an empty sequence, one of
// several keys, a modifier or lock key alone, or a key that has no X keysym.
std::optional<KeyChord> SummonChord(const QKeySequence& sequence);

}  // namespace nagitori
