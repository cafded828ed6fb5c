#include "platform/posix/Accelerators.h"

#include <xkbcommon/xkbcommon.h>

#include <array>
#include <utility>

#include "common/AsciiCase.h"

namespace nagitori::posix {

namespace {

// A modifier outside KeyChord's, so that such an accelerator never equals one of ours.
constexpr unsigned kOtherModifier = 1u << 8;

struct ModifierName {
    std::string_view name;
    unsigned modifier;
};

constexpr std::array<ModifierName, 10> kModifierNames = {{
    {"control", KeyChord::kControl},
    {"ctrl", KeyChord::kControl},
    {"ctl", KeyChord::kControl},
    {"primary", KeyChord::kControl},
    {"shift", KeyChord::kShift},
    {"shft", KeyChord::kShift},
    {"alt", KeyChord::kAlt},
    {"mod1", KeyChord::kAlt},
    {"super", KeyChord::kSuper},
    {"mod4", KeyChord::kSuper},
}};

unsigned ModifierNamed(std::string_view name) {
    for (const ModifierName& known : kModifierNames) {
        if (EqualsIgnoringAsciiCase(name, known.name)) {
            return known.modifier;
        }
    }
    return kOtherModifier;
}

}  // namespace

std::string AcceleratorText(const KeyChord& chord, AcceleratorStyle style) {
    std::string text;
    if (chord.modifiers & KeyChord::kControl) {
        text += style == AcceleratorStyle::kPrimary ? "<Primary>" : "<Control>";
    }
    if (chord.modifiers & KeyChord::kShift) {
        text += "<Shift>";
    }
    if (chord.modifiers & KeyChord::kAlt) {
        text += "<Alt>";
    }
    if (chord.modifiers & KeyChord::kSuper) {
        text += "<Super>";
    }
    std::array<char, 64> name{};
    if (xkb_keysym_get_name(chord.keysym, name.data(), name.size()) > 0) {
        text += name.data();
    }
    return text;
}

std::optional<KeyChord> ParseAccelerator(std::string_view text) {
    KeyChord chord;
    while (!text.empty() && text.front() == '<') {
        const size_t close = text.find('>');
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        chord.modifiers |= ModifierNamed(text.substr(1, close - 1));
        text.remove_prefix(close + 1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    const std::string name(text);
    const xkb_keysym_t keysym = xkb_keysym_from_name(name.c_str(), XKB_KEYSYM_CASE_INSENSITIVE);
    if (keysym == XKB_KEY_NoSymbol) {
        return std::nullopt;
    }
    chord.keysym = xkb_keysym_to_lower(keysym);
    return chord;
}

}  // namespace nagitori::posix
