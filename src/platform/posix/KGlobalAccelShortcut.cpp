#include "platform/posix/KGlobalAccelShortcut.h"

#include <gio/gio.h>

#include <utility>
#include <vector>

#include "platform/posix/GLibOwners.h"

namespace nagitori::posix {

namespace {

constexpr char kService[] = "org.kde.kglobalaccel";
constexpr char kObject[] = "/kglobalaccel";
constexpr char kInterface[] = "org.kde.KGlobalAccel";
constexpr char kComponentInterface[] = "org.kde.kglobalaccel.Component";
constexpr char kComponent[] = "nagitori";
constexpr char kAction[] = "summon";
// The shortcut is active now, and the service is not to put back one it remembers instead.
constexpr guint32 kSetPresentNoAutoloading = 2 | 4;
constexpr int kTimeoutMs = 5000;

using ConnectionPtr = ObjectPtr<GDBusConnection>;

VariantPtr Call(GDBusConnection* bus, const char* method, GVariant* parameters, const char* replyType) {
    return VariantPtr(g_dbus_connection_call_sync(bus, kService, kObject, kInterface, method, parameters,
                                                  replyType == nullptr ? nullptr : G_VARIANT_TYPE(replyType),
                                                  G_DBUS_CALL_FLAGS_NONE, kTimeoutMs, nullptr, nullptr));
}

std::vector<gint32> Keys(GVariant* reply) {
    std::vector<gint32> keys;
    GVariantIter* iter = nullptr;
    g_variant_get(reply, "(ai)", &iter);
    gint32 key = 0;
    while (g_variant_iter_next(iter, "i", &key)) {
        keys.push_back(key);
    }
    g_variant_iter_free(iter);
    return keys;
}

GVariant* KeyList(gint32 key) {
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE("ai"));
    g_variant_builder_add(&builder, "i", key);
    return g_variant_builder_end(&builder);
}

}  // namespace

// The subscription to the component's presses.
struct KGlobalAccelShortcut::Listener {
    ConnectionPtr bus;
    guint subscription = 0;
    std::function<void(std::uint32_t)> pressed;

    static void OnSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
                         gpointer self) {
        const gchar* action = nullptr;
        gint64 time = 0;
        g_variant_get(parameters, "(&s&sx)", nullptr, &action, &time);
        if (g_strcmp0(action, kAction) == 0) {
            static_cast<Listener*>(self)->pressed(static_cast<std::uint32_t>(time));
        }
    }
};

KGlobalAccelShortcut::KGlobalAccelShortcut(std::string programName, std::string actionName,
                                           std::function<void(std::uint32_t)> pressed)
    : programName_(std::move(programName)), actionName_(std::move(actionName)), listener_(new Listener) {
    listener_->pressed = std::move(pressed);
}

KGlobalAccelShortcut::~KGlobalAccelShortcut() {
    if (listener_->subscription != 0) {
        // The service keeps the shortcut for the next run but no longer holds the key for this one.
        Call(listener_->bus.get(), "setInactive", g_variant_new("(^as)", ActionId().data()), nullptr);
    }
    StopListening();
}

std::vector<const char*> KGlobalAccelShortcut::ActionId() const {
    return {kComponent, kAction, programName_.c_str(), actionName_.c_str(), nullptr};
}

void KGlobalAccelShortcut::StopListening() {
    if (listener_->subscription != 0) {
        g_dbus_connection_signal_unsubscribe(listener_->bus.get(), listener_->subscription);
        listener_->subscription = 0;
    }
}

SummonKeyStatus KGlobalAccelShortcut::Bind(const KeyChord& chord) {
    ConnectionPtr bus = SessionBus();
    if (!bus) {
        return SummonKeyStatus::kFailed;
    }
    const std::vector<const char*> id = ActionId();
    const VariantPtr current = Call(bus.get(), "shortcut", g_variant_new("(^as)", id.data()), "(ai)");
    if (!current) {
        return SummonKeyStatus::kFailed;
    }
    // The service counts a key as free for the component that holds it.
    if (Keys(current.get()) != std::vector<gint32>{chord.qtCombined}) {
        const VariantPtr available =
            Call(bus.get(), "isGlobalShortcutAvailable", g_variant_new("(is)", chord.qtCombined, kComponent), "(b)");
        gboolean free = FALSE;
        if (!available) {
            return SummonKeyStatus::kFailed;
        }
        g_variant_get(available.get(), "(b)", &free);
        if (!free) {
            Unbind();
            return SummonKeyStatus::kTaken;
        }
    }
    if (!Call(bus.get(), "doRegister", g_variant_new("(^as)", id.data()), nullptr)) {
        return SummonKeyStatus::kFailed;
    }
    const VariantPtr set =
        Call(bus.get(), "setShortcut",
             g_variant_new("(^as@aiu)", id.data(), KeyList(chord.qtCombined), kSetPresentNoAutoloading), "(ai)");
    if (!set) {
        return SummonKeyStatus::kFailed;
    }
    if (Keys(set.get()) != std::vector<gint32>{chord.qtCombined}) {
        Unbind();
        return SummonKeyStatus::kTaken;
    }
    const VariantPtr component = Call(bus.get(), "getComponent", g_variant_new("(s)", kComponent), "(o)");
    if (!component) {
        return SummonKeyStatus::kFailed;
    }
    const gchar* path = nullptr;
    g_variant_get(component.get(), "(&o)", &path);
    StopListening();
    listener_->bus = std::move(bus);
    listener_->subscription = g_dbus_connection_signal_subscribe(
        listener_->bus.get(), kService, kComponentInterface, "globalShortcutPressed", path, nullptr,
        G_DBUS_SIGNAL_FLAGS_NONE, &Listener::OnSignal, listener_.get(), nullptr);
    return SummonKeyStatus::kBound;
}

void KGlobalAccelShortcut::Unbind() {
    StopListening();
    if (const ConnectionPtr bus = SessionBus()) {
        Call(bus.get(), "unregister", g_variant_new("(ss)", kComponent, kAction), nullptr);
    }
}

}  // namespace nagitori::posix
