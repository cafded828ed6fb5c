#include "platform/posix/Accelerators.h"

#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace nagitori::posix {
namespace {

constexpr unsigned kCtrlAlt = KeyChord::kControl | KeyChord::kAlt;

TEST(Accelerators, NameTheChordAsGtkAndXfceWriteIt) {
    struct Case {
        KeyChord chord;
        const char* gtk;
        const char* xfce;
    };
    const Case cases[] = {
        {{kCtrlAlt, XKB_KEY_space, 0}, "<Control><Alt>space", "<Primary><Alt>space"},
        {{KeyChord::kSuper, XKB_KEY_F12, 0}, "<Super>F12", "<Super>F12"},
        {{KeyChord::kShift | KeyChord::kControl, XKB_KEY_a, 0}, "<Control><Shift>a", "<Primary><Shift>a"},
        {{KeyChord::kAlt, XKB_KEY_KP_Enter, 0}, "<Alt>KP_Enter", "<Alt>KP_Enter"},
        {{KeyChord::kControl, XKB_KEY_slash, 0}, "<Control>slash", "<Primary>slash"},
        {{0, XKB_KEY_F1, 0}, "F1", "F1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gtk);
        EXPECT_EQ(AcceleratorText(c.chord, AcceleratorStyle::kControl), c.gtk);
        EXPECT_EQ(AcceleratorText(c.chord, AcceleratorStyle::kPrimary), c.xfce);
        // What this program writes, it reads back as the same chord.
        for (const char* text : {c.gtk, c.xfce}) {
            const std::optional<KeyChord> parsed = ParseAccelerator(text);
            ASSERT_TRUE(parsed.has_value());
            EXPECT_TRUE(parsed->SameKeys(c.chord));
        }
    }
}

TEST(Accelerators, ReadTheSpellingsDesktopsStoreAsOneChord) {
    const KeyChord ctrlAltSpace{kCtrlAlt, XKB_KEY_space, 0};
    for (const char* text : {"<Control><Alt>space", "<Alt><Primary>space", "<ctrl><mod1>Space", "<Ctl><ALT>space"}) {
        SCOPED_TRACE(text);
        const std::optional<KeyChord> parsed = ParseAccelerator(text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_TRUE(parsed->SameKeys(ctrlAltSpace));
    }
    // A capital names the letter's key.
    EXPECT_TRUE(ParseAccelerator("<Super>T")->SameKeys({KeyChord::kSuper, XKB_KEY_t, 0}));

    // Other modifiers, or fewer, make another chord.
    for (const char* text : {"<Control><Alt><Meta>space", "<Control>space", "<Control><Alt><Hyper>space"}) {
        SCOPED_TRACE(text);
        const std::optional<KeyChord> parsed = ParseAccelerator(text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_FALSE(parsed->SameKeys(ctrlAltSpace));
    }
    // Entries that name no key: unset, switched off, a modifier alone, a broken text, a folder path.
    for (const char* text : {"", "disabled", "<Super>", "<Control", "<Alt>nosuchkey",
                             "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/custom0/"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParseAccelerator(text).has_value());
    }
}

}  // namespace
}  // namespace nagitori::posix
