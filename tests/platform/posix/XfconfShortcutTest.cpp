#include "platform/posix/XfconfShortcut.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "TestSessionBus.h"

namespace nagitori::posix {
namespace {

using test::TestSessionBus;

constexpr char kServices[] = "/usr/share/dbus-1/services";
constexpr char kCommand[] = "/home/u/.local/lib/nagitori/nagitori";
constexpr char kChannel[] = "xfce4-keyboard-shortcuts";
const KeyChord kCtrlAltSpace{KeyChord::kControl | KeyChord::kAlt, XKB_KEY_space, 0};
const KeyChord kSuperF12{KeyChord::kSuper, XKB_KEY_F12, 0};

GVariant* CallXfconf(const char* method, GVariant* parameters) {
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    GVariant* reply = g_dbus_connection_call_sync(bus, "org.xfce.Xfconf", "/org/xfce/Xfconf", "org.xfce.Xfconf", method,
                                                  parameters, nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    g_object_unref(bus);
    return reply;
}

void Set(const std::string& property, GVariant* value) {
    GVariant* reply = CallXfconf("SetProperty", g_variant_new("(ssv)", kChannel, property.c_str(), value));
    ASSERT_NE(reply, nullptr) << property;
    g_variant_unref(reply);
}

// The channel as xfconf holds it, each value printed.
std::map<std::string, std::string> Channel() {
    std::map<std::string, std::string> properties;
    GVariant* reply = CallXfconf("GetAllProperties", g_variant_new("(ss)", kChannel, "/"));
    if (reply == nullptr) {
        return properties;
    }
    GVariantIter* iter = nullptr;
    const gchar* name = nullptr;
    GVariant* value = nullptr;
    g_variant_get(reply, "(a{sv})", &iter);
    while (g_variant_iter_loop(iter, "{&sv}", &name, &value)) {
        gchar* printed = g_variant_print(value, FALSE);
        properties.emplace(name, printed);
        g_free(printed);
    }
    g_variant_iter_free(iter);
    g_variant_unref(reply);
    return properties;
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// xfconfd itself, started on a private bus with its settings in a temporary home.
class XfconfShortcutTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TestSessionBus::Available()) {
            GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus)";
        }
        if (!std::filesystem::exists(std::string(kServices) + "/org.xfce.Xfconf.service")) {
            GTEST_SKIP() << "xfconfd is not installed (Debian package xfconf)";
        }
        bus = std::make_unique<TestSessionBus>(kServices);
    }

    std::unique_ptr<TestSessionBus> bus;
    XfconfShortcut shortcut{kCommand};
};

TEST_F(XfconfShortcutTest, BindsReplacesAndRemovesOnlyItsOwnShortcut) {
    // The user's own shortcuts, with a setting of one of them, and one this program left under another key.
    Set("/commands/custom/override", g_variant_new_boolean(TRUE));
    Set("/commands/custom/<Super>t", g_variant_new_string("xfce4-terminal"));
    Set("/commands/custom/<Super>t/startup-notify", g_variant_new_boolean(TRUE));
    Set("/commands/custom/<Primary>F9", g_variant_new_string(kCommand));
    std::map<std::string, std::string> user = Channel();
    user.erase("/commands/custom/<Primary>F9");

    EXPECT_EQ(shortcut.Bind(kCtrlAltSpace), SummonKeyStatus::kBound);
    std::map<std::string, std::string> expected = user;
    expected["/commands/custom/<Primary><Alt>space"] = Quoted(kCommand);
    EXPECT_EQ(Channel(), expected);

    // Binding the key it holds changes nothing; another key takes its place.
    EXPECT_EQ(shortcut.Bind(kCtrlAltSpace), SummonKeyStatus::kBound);
    EXPECT_EQ(Channel(), expected);
    EXPECT_EQ(shortcut.Bind(kSuperF12), SummonKeyStatus::kBound);
    expected.erase("/commands/custom/<Primary><Alt>space");
    expected["/commands/custom/<Super>F12"] = Quoted(kCommand);
    EXPECT_EQ(Channel(), expected);

    shortcut.Unbind();
    EXPECT_EQ(Channel(), user);
}

TEST_F(XfconfShortcutTest, AKeyXfceUsesIsTakenAndLeavesNothingOfOursBound) {
    struct Case {
        const char* override;  // the tree whose custom shortcuts are in use, or none: the defaults are
        const char* property;
        const char* value;
        bool taken;
    };
    const Case cases[] = {
        {"/commands/custom/override", "/commands/custom/<Control><Alt>space", "xfce4-terminal", true},
        {"/xfwm4/custom/override", "/xfwm4/custom/<Primary><Alt>Space", "cycle_windows_key", true},
        {nullptr, "/commands/default/<Primary><Alt>space", "xfce4-appfinder", true},
        {nullptr, "/xfwm4/default/<Alt><Primary>space", "popup_menu_key", true},
        // Defaults the user's own shortcuts replaced are not in use.
        {"/commands/custom/override", "/commands/default/<Primary><Alt>space", "xfce4-appfinder", false},
        {"/xfwm4/custom/override", "/xfwm4/default/<Primary><Alt>space", "popup_menu_key", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.property);
        bus.reset();
        bus = std::make_unique<TestSessionBus>(kServices);
        ASSERT_EQ(shortcut.Bind(kSuperF12), SummonKeyStatus::kBound);
        if (c.override != nullptr) {
            Set(c.override, g_variant_new_boolean(TRUE));
        }
        Set(c.property, g_variant_new_string(c.value));

        EXPECT_EQ(shortcut.Bind(kCtrlAltSpace), c.taken ? SummonKeyStatus::kTaken : SummonKeyStatus::kBound);
        const std::map<std::string, std::string> channel = Channel();
        EXPECT_EQ(channel.at(c.property), Quoted(c.value));
        EXPECT_EQ(channel.count("/commands/custom/<Super>F12"), 0u);
        EXPECT_EQ(channel.count("/commands/custom/<Primary><Alt>space"), c.taken ? 0u : 1u);
    }
}

TEST(XfconfShortcut, FailsWhenXfconfDoesNotAnswer) {
    if (!TestSessionBus::Available()) {
        GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus)";
    }
    const TestSessionBus bus;  // without xfconfd
    XfconfShortcut shortcut(kCommand);
    EXPECT_EQ(shortcut.Bind(kCtrlAltSpace), SummonKeyStatus::kFailed);
    shortcut.Unbind();
}

}  // namespace
}  // namespace nagitori::posix
