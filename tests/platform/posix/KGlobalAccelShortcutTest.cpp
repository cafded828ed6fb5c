#include "platform/posix/KGlobalAccelShortcut.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "TestSessionBus.h"

namespace nagitori::posix {
namespace {

using test::TestSessionBus;

// Ctrl+Alt+Space as Qt codes it: Qt::CTRL | Qt::ALT | Qt::Key_Space.
constexpr int kQtCtrlAltSpace = 0x04000000 | 0x08000000 | 0x20;
const KeyChord kCtrlAltSpace{KeyChord::kControl | KeyChord::kAlt, XKB_KEY_space, kQtCtrlAltSpace};
constexpr char kActionId[] = "['nagitori', 'summon', 'ナギトリ', 'ウィンドウを呼び出す']";

constexpr char kInterfaceXml[] = R"(<node>
  <interface name="org.kde.KGlobalAccel">
    <method name="shortcut"><arg type="as" direction="in"/><arg type="ai" direction="out"/></method>
    <method name="isGlobalShortcutAvailable">
      <arg type="i" direction="in"/><arg type="s" direction="in"/><arg type="b" direction="out"/>
    </method>
    <method name="doRegister"><arg type="as" direction="in"/></method>
    <method name="setShortcut">
      <arg type="as" direction="in"/><arg type="ai" direction="in"/><arg type="u" direction="in"/>
      <arg type="ai" direction="out"/>
    </method>
    <method name="getComponent"><arg type="s" direction="in"/><arg type="o" direction="out"/></method>
    <method name="unregister">
      <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="b" direction="out"/>
    </method>
    <method name="setInactive"><arg type="as" direction="in"/></method>
  </interface>
</node>)";

// A stand-in for KDE's shortcut service on the test bus, on a thread of its own so that the program's blocking calls
// are answered. It records every call, keeps one action's keys and sends presses on request.
class FakeKGlobalAccel {
public:
    explicit FakeKGlobalAccel(const std::string& address) : address_(address) {
        std::promise<void> ready;
        std::future<void> started = ready.get_future();
        thread_ = std::thread([this, &ready] { Run(ready); });
        started.wait();
    }

    ~FakeKGlobalAccel() {
        g_main_loop_quit(loop_);
        thread_.join();
    }

    std::vector<std::string> Calls() {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
    }
    void ClearCalls() {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.clear();
    }
    // Another component holds every key, or the service hands back no key when one is set.
    std::atomic<bool> othersHoldTheKey = false;
    std::atomic<bool> refusesKeys = false;

    void Press(const char* action, gint64 time) {
        g_dbus_connection_emit_signal(connection_, nullptr, "/component/nagitori", "org.kde.kglobalaccel.Component",
                                      "globalShortcutPressed", g_variant_new("(ssx)", "nagitori", action, time),
                                      nullptr);
        g_dbus_connection_flush_sync(connection_, nullptr, nullptr);
    }

private:
    void Run(std::promise<void>& ready) {
        GMainContext* context = g_main_context_new();
        g_main_context_push_thread_default(context);
        loop_ = g_main_loop_new(context, FALSE);
        connection_ = g_dbus_connection_new_for_address_sync(
            address_.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kInterfaceXml, nullptr);
        static const GDBusInterfaceVTable vtable = {&FakeKGlobalAccel::OnCall, nullptr, nullptr, {}};
        g_dbus_connection_register_object(connection_, "/kglobalaccel", node->interfaces[0], &vtable, this, nullptr,
                                          nullptr);
        GVariant* owned = g_dbus_connection_call_sync(
            connection_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
            g_variant_new("(su)", "org.kde.kglobalaccel", 4u), nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
        g_variant_unref(owned);
        ready.set_value();
        g_main_loop_run(loop_);
        g_dbus_connection_close_sync(connection_, nullptr, nullptr);
        g_object_unref(connection_);
        g_dbus_node_info_unref(node);
        g_main_loop_unref(loop_);
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
    }

    static void OnCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                       GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
        static_cast<FakeKGlobalAccel*>(self)->Answer(method, parameters, invocation);
    }

    void Answer(const std::string& method, GVariant* parameters, GDBusMethodInvocation* invocation) {
        gchar* printed = g_variant_print(parameters, FALSE);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            calls_.push_back(method + printed);
        }
        g_free(printed);
        GVariant* reply = nullptr;
        if (method == "shortcut") {
            reply = g_variant_new("(@ai)", Keys(keys_));
        } else if (method == "isGlobalShortcutAvailable") {
            reply = g_variant_new("(b)", !othersHoldTheKey);
        } else if (method == "setShortcut") {
            GVariant* keys = g_variant_get_child_value(parameters, 1);
            keys_.clear();
            if (!refusesKeys) {
                for (gsize i = 0; i < g_variant_n_children(keys); ++i) {
                    GVariant* key = g_variant_get_child_value(keys, i);
                    keys_.push_back(g_variant_get_int32(key));
                    g_variant_unref(key);
                }
            }
            g_variant_unref(keys);
            reply = g_variant_new("(@ai)", Keys(keys_));
        } else if (method == "getComponent") {
            reply = g_variant_new("(o)", "/component/nagitori");
        } else if (method == "unregister") {
            keys_.clear();
            reply = g_variant_new("(b)", TRUE);
        }
        g_dbus_method_invocation_return_value(invocation, reply);
    }

    static GVariant* Keys(const std::vector<gint32>& keys) {
        return g_variant_new_fixed_array(G_VARIANT_TYPE_INT32, keys.data(), keys.size(), sizeof(gint32));
    }

    std::string address_;
    std::thread thread_;
    GMainLoop* loop_ = nullptr;
    GDBusConnection* connection_ = nullptr;
    std::mutex mutex_;
    std::vector<std::string> calls_;
    std::vector<gint32> keys_;
};

// Runs this thread's GLib main context, where the program's presses arrive, until `done` or the time is up.
template <typename Done>
bool RunUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(2)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < end) {
        g_main_context_iteration(nullptr, FALSE);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

class KGlobalAccelShortcutTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TestSessionBus::Available()) {
            GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus)";
        }
        bus.emplace();
        service.emplace(bus->Address());
    }
    void TearDown() override {
        service.reset();
        bus.reset();
    }

    std::unique_ptr<KGlobalAccelShortcut> Shortcut() {
        return std::make_unique<KGlobalAccelShortcut>("ナギトリ", "ウィンドウを呼び出す",
                                                      [this](std::uint32_t time) { presses.push_back(time); });
    }

    std::optional<TestSessionBus> bus;
    std::optional<FakeKGlobalAccel> service;
    std::vector<std::uint32_t> presses;
};

TEST_F(KGlobalAccelShortcutTest, RegistersTheKeyAndHearsItsPressesUntilUnbound) {
    std::unique_ptr<KGlobalAccelShortcut> shortcut = Shortcut();
    ASSERT_EQ(shortcut->Bind(kCtrlAltSpace), SummonKeyStatus::kBound);
    const std::string id = kActionId;
    EXPECT_EQ(service->Calls(), (std::vector<std::string>{
                                    "shortcut(" + id + ",)",
                                    "isGlobalShortcutAvailable(" + std::to_string(kQtCtrlAltSpace) + ", 'nagitori')",
                                    "doRegister(" + id + ",)",
                                    "setShortcut(" + id + ", [" + std::to_string(kQtCtrlAltSpace) + "], 6)",
                                    "getComponent('nagitori',)",
                                }));

    // The bus takes the program's subscription before it takes a later call of the same connection.
    GDBusConnection* session = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    g_variant_unref(g_dbus_connection_call_sync(session, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                "org.freedesktop.DBus", "GetId", nullptr, nullptr,
                                                G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr));
    g_object_unref(session);
    service->Press("summon", 4711);
    service->Press("other", 4712);
    service->Press("summon", 4713);
    EXPECT_TRUE(RunUntil([&] { return presses.size() >= 2; }));
    EXPECT_EQ(presses, (std::vector<std::uint32_t>{4711, 4713}));

    // The key it holds is free to it in a later run.
    service->ClearCalls();
    ASSERT_EQ(Shortcut()->Bind(kCtrlAltSpace), SummonKeyStatus::kBound);
    EXPECT_EQ(service->Calls().at(1), "doRegister(" + id + ",)");

    service->ClearCalls();
    shortcut->Unbind();
    EXPECT_EQ(service->Calls(), std::vector<std::string>{"unregister('nagitori', 'summon')"});
    service->Press("summon", 4714);
    RunUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(presses.size(), 2u);
}

TEST_F(KGlobalAccelShortcutTest, LeavesTheKeyToOthersWhenTheProgramEnds) {
    ASSERT_EQ(Shortcut()->Bind(kCtrlAltSpace), SummonKeyStatus::kBound);
    EXPECT_EQ(service->Calls().back(), std::string("setInactive(") + kActionId + ",)");
}

TEST_F(KGlobalAccelShortcutTest, AKeyAnotherComponentHoldsIsTaken) {
    for (const bool refusedWhenSet : {false, true}) {
        SCOPED_TRACE(refusedWhenSet ? "refused when set" : "not available");
        service->othersHoldTheKey = !refusedWhenSet;
        service->refusesKeys = refusedWhenSet;
        service->ClearCalls();
        EXPECT_EQ(Shortcut()->Bind(kCtrlAltSpace), SummonKeyStatus::kTaken);
        EXPECT_EQ(service->Calls().back(), "unregister('nagitori', 'summon')");
    }
}

TEST(KGlobalAccelShortcut, FailsWithoutTheService) {
    if (!TestSessionBus::Available()) {
        GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus)";
    }
    const TestSessionBus bus;
    KGlobalAccelShortcut shortcut("ナギトリ", "ウィンドウを呼び出す", [](std::uint32_t) {});
    EXPECT_EQ(shortcut.Bind(kCtrlAltSpace), SummonKeyStatus::kFailed);
}

}  // namespace
}  // namespace nagitori::posix
