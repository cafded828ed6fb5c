#pragma once

#include <string>

#include "platform/SummonKeyBinding.h"

namespace nagitori::posix {

// The summon key as an Xfce custom keyboard shortcut (xfconf channel xfce4-keyboard-shortcuts) that runs the
// program's command, which hands over to the running copy. This program's shortcuts are the ones that run exactly
// its command; they stay when the program ends, so the key then starts it.
class XfconfShortcut : public SummonKeyBinding {
public:
    explicit XfconfShortcut(std::string command);

    SummonKeyStatus Bind(const KeyChord& chord) override;
    void Unbind() override;

private:
    std::string command_;
};

}  // namespace nagitori::posix
