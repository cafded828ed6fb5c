#pragma once

#include "platform/KeyChord.h"

namespace nagitori {

enum class SummonKeyStatus {
    kBound,
    kTaken,        // another shortcut of the desktop or another program holds the chord
    kFailed,       // the desktop's shortcut store could not be reached or written
    kUnsupported,  // this desktop offers no way to bind it
};

// Where the summon key lives: the desktop's own shortcut store, or a key grab of the running copy.
class SummonKeyBinding {
public:
    virtual ~SummonKeyBinding() = default;

    // Binds the chord in place of whatever this program bound before; a chord that is taken leaves nothing of this
    // program's bound.
    virtual SummonKeyStatus Bind(const KeyChord& chord) = 0;
    // Removes what this program bound, also in an earlier run; every other shortcut stays as it is.
    virtual void Unbind() = 0;
};

}  // namespace nagitori
