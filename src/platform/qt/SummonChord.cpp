#include "platform/qt/SummonChord.h"

#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon.h>

#include <QChar>
#include <utility>

namespace nagitori {

namespace {

// Keys without a character, by their X keysyms.
constexpr std::pair<Qt::Key, std::uint32_t> kSpecialKeys[] = {
    {Qt::Key_Escape, XKB_KEY_Escape},
    {Qt::Key_Tab, XKB_KEY_Tab},
    {Qt::Key_Backtab, XKB_KEY_ISO_Left_Tab},
    {Qt::Key_Backspace, XKB_KEY_BackSpace},
    {Qt::Key_Return, XKB_KEY_Return},
    {Qt::Key_Enter, XKB_KEY_KP_Enter},
    {Qt::Key_Insert, XKB_KEY_Insert},
    {Qt::Key_Delete, XKB_KEY_Delete},
    {Qt::Key_Pause, XKB_KEY_Pause},
    {Qt::Key_Print, XKB_KEY_Print},
    {Qt::Key_SysReq, XKB_KEY_Sys_Req},
    {Qt::Key_Clear, XKB_KEY_Clear},
    {Qt::Key_Home, XKB_KEY_Home},
    {Qt::Key_End, XKB_KEY_End},
    {Qt::Key_Left, XKB_KEY_Left},
    {Qt::Key_Up, XKB_KEY_Up},
    {Qt::Key_Right, XKB_KEY_Right},
    {Qt::Key_Down, XKB_KEY_Down},
    {Qt::Key_PageUp, XKB_KEY_Page_Up},
    {Qt::Key_PageDown, XKB_KEY_Page_Down},
    {Qt::Key_Menu, XKB_KEY_Menu},
    {Qt::Key_Help, XKB_KEY_Help},
};

// Keys of the number pad, as Qt reports them with the keypad modifier.
constexpr std::pair<Qt::Key, std::uint32_t> kKeypadKeys[] = {
    {Qt::Key_Asterisk, XKB_KEY_KP_Multiply}, {Qt::Key_Plus, XKB_KEY_KP_Add},     {Qt::Key_Minus, XKB_KEY_KP_Subtract},
    {Qt::Key_Period, XKB_KEY_KP_Decimal},    {Qt::Key_Slash, XKB_KEY_KP_Divide}, {Qt::Key_Enter, XKB_KEY_KP_Enter},
};

std::uint32_t Keysym(int key, bool keypad) {
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) {
            return XKB_KEY_KP_0 + static_cast<std::uint32_t>(key - Qt::Key_0);
        }
        for (const auto& [qtKey, keysym] : kKeypadKeys) {
            if (key == qtKey) {
                return keysym;
            }
        }
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35) {
        return XKB_KEY_F1 + static_cast<std::uint32_t>(key - Qt::Key_F1);
    }
    for (const auto& [qtKey, keysym] : kSpecialKeys) {
        if (key == qtKey) {
            return keysym;
        }
    }
    // Qt names a key with a character by the character, a letter by its capital.
    if (key > 0 && key < Qt::Key_Escape) {
        return xkb_utf32_to_keysym(QChar::toLower(static_cast<char32_t>(key)));
    }
    return XKB_KEY_NoSymbol;
}

}  // namespace

std::optional<KeyChord> SummonChord(const QKeySequence& sequence) {
    if (sequence.count() != 1) {
        return std::nullopt;
    }
    const QKeyCombination combination = sequence[0];
    const Qt::KeyboardModifiers held = combination.keyboardModifiers();
    KeyChord chord;
    chord.keysym = Keysym(combination.key(), held.testFlag(Qt::KeypadModifier));
    chord.qtCombined = combination.toCombined();
    const std::pair<Qt::KeyboardModifier, unsigned> modifiers[] = {
        {Qt::ShiftModifier, KeyChord::kShift},
        {Qt::ControlModifier, KeyChord::kControl},
        {Qt::AltModifier, KeyChord::kAlt},
        {Qt::MetaModifier, KeyChord::kSuper},
    };
    for (const auto& [qtModifier, modifier] : modifiers) {
        if (held.testFlag(qtModifier)) {
            chord.modifiers |= modifier;
        }
    }
    const bool functionKey = combination.key() >= Qt::Key_F1 && combination.key() <= Qt::Key_F35;
    const bool guarded = (chord.modifiers & (KeyChord::kControl | KeyChord::kAlt | KeyChord::kSuper)) != 0;
    if (chord.keysym == XKB_KEY_NoSymbol || !(functionKey || guarded)) {
        return std::nullopt;
    }
    return chord;
}

}  // namespace nagitori
