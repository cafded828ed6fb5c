#include "platform/qt/SummonChord.h"

#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace nagitori {
namespace {

TEST(SummonChord, TranslatesQtKeysToKeysymsAndModifiers) {
    struct Case {
        const char* sequence;
        unsigned modifiers;
        std::uint32_t keysym;
    };
    const Case cases[] = {
        {"Ctrl+Alt+Space", KeyChord::kControl | KeyChord::kAlt, XKB_KEY_space},
        {"Meta+A", KeyChord::kSuper, XKB_KEY_a},
        {"Ctrl+Shift+A", KeyChord::kControl | KeyChord::kShift, XKB_KEY_a},
        {"Alt+F4", KeyChord::kAlt, XKB_KEY_F4},
        {"F12", 0, XKB_KEY_F12},
        {"Shift+F35", KeyChord::kShift, XKB_KEY_F35},
        {"Ctrl+Alt+Del", KeyChord::kControl | KeyChord::kAlt, XKB_KEY_Delete},
        {"Ctrl+Return", KeyChord::kControl, XKB_KEY_Return},
        {"Ctrl+Num+1", KeyChord::kControl, XKB_KEY_KP_1},
        {"Ctrl+Num++", KeyChord::kControl, XKB_KEY_KP_Add},
        {"Ctrl+1", KeyChord::kControl, XKB_KEY_1},
        {"Ctrl+/", KeyChord::kControl, XKB_KEY_slash},
        {"Alt+Ä", KeyChord::kAlt, XKB_KEY_adiaeresis},
        {"Ctrl+PgDown", KeyChord::kControl, XKB_KEY_Page_Down},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sequence);
        const QKeySequence sequence =
            QKeySequence::fromString(QString::fromUtf8(c.sequence), QKeySequence::PortableText);
        const std::optional<KeyChord> chord = SummonChord(sequence);
        ASSERT_TRUE(chord.has_value());
        EXPECT_EQ(chord->modifiers, c.modifiers);
        EXPECT_EQ(chord->keysym, c.keysym);
        EXPECT_EQ(chord->qtCombined, sequence[0].toCombined());
    }
}

TEST(SummonChord, RefusesKeysThatWouldTakeTypingOrNameNoKey) {
    for (const char* text : {"", "A", "Shift+A", "Space", "Return", "Shift+Tab", "Ctrl+A, Ctrl+B", "Ctrl+CapsLock",
                             "Ctrl+NumLock", "Ctrl+Alt+Launch (0)"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(SummonChord(QKeySequence::fromString(QString::fromUtf8(text), QKeySequence::PortableText)));
    }
    // A modifier pressed on its own.
    EXPECT_FALSE(SummonChord(QKeySequence(QKeyCombination(Qt::ControlModifier, Qt::Key_Control))));
    EXPECT_FALSE(SummonChord(QKeySequence(QKeyCombination(Qt::MetaModifier, Qt::Key_Meta))));
}

}  // namespace
}  // namespace nagitori
