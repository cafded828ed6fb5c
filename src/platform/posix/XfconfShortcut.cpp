#include "platform/posix/XfconfShortcut.h"

#include <gio/gio.h>

#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/posix/Accelerators.h"
#include "platform/posix/GLibOwners.h"

namespace nagitori::posix {

namespace {

constexpr char kService[] = "org.xfce.Xfconf";
constexpr char kObject[] = "/org/xfce/Xfconf";
constexpr char kInterface[] = "org.xfce.Xfconf";
constexpr char kChannel[] = "xfce4-keyboard-shortcuts";
constexpr char kCommands[] = "/commands/custom/";
constexpr int kTimeoutMs = 5000;

using ConnectionPtr = ObjectPtr<GDBusConnection>;

// The reply, or null when the call failed.
VariantPtr Call(GDBusConnection* bus, const char* method, GVariant* parameters) {
    return VariantPtr(g_dbus_connection_call_sync(bus, kService, kObject, kInterface, method, parameters, nullptr,
                                                  G_DBUS_CALL_FLAGS_NONE, kTimeoutMs, nullptr, nullptr));
}

// The channel's properties that hold text; nothing when xfconf does not answer.
std::optional<std::map<std::string, std::string>> TextProperties(GDBusConnection* bus) {
    const VariantPtr reply = Call(bus, "GetAllProperties", g_variant_new("(ss)", kChannel, "/"));
    if (!reply) {
        return std::nullopt;
    }
    std::map<std::string, std::string> texts;
    GVariantIter* iter = nullptr;
    g_variant_get(reply.get(), "(a{sv})", &iter);
    const gchar* name = nullptr;
    GVariant* value = nullptr;
    while (g_variant_iter_loop(iter, "{&sv}", &name, &value)) {
        if (g_variant_is_of_type(value, G_VARIANT_TYPE_STRING)) {
            texts.emplace(name, g_variant_get_string(value, nullptr));
        }
    }
    g_variant_iter_free(iter);
    return texts;
}

bool IsTrue(GDBusConnection* bus, const std::string& property) {
    const VariantPtr reply = Call(bus, "GetProperty", g_variant_new("(ss)", kChannel, property.c_str()));
    if (!reply) {
        return false;
    }
    GVariant* value = nullptr;
    g_variant_get(reply.get(), "(v)", &value);
    const bool on = g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) && g_variant_get_boolean(value);
    g_variant_unref(value);
    return on;
}

// The accelerator a shortcut property names, when it is one of the active ones: Xfce uses its custom shortcuts
// once they override the defaults, else the defaults.
std::optional<std::string> ActiveAccelerator(const std::string& property, bool commandsCustom, bool windowsCustom) {
    const std::pair<std::string, bool> trees[] = {
        {kCommands, commandsCustom},
        {"/commands/default/", !commandsCustom},
        {"/xfwm4/custom/", windowsCustom},
        {"/xfwm4/default/", !windowsCustom},
    };
    for (const auto& [tree, active] : trees) {
        if (active && property.compare(0, tree.size(), tree) == 0) {
            const std::string accelerator = property.substr(tree.size());
            // A further '/' is a setting of the shortcut (startup notification), not a shortcut.
            if (accelerator.find('/') == std::string::npos && accelerator != "override") {
                return accelerator;
            }
        }
    }
    return std::nullopt;
}

void Reset(GDBusConnection* bus, const std::string& property) {
    Call(bus, "ResetProperty", g_variant_new("(ssb)", kChannel, property.c_str(), TRUE));
}

}  // namespace

XfconfShortcut::XfconfShortcut(std::string command) : command_(std::move(command)) {}

SummonKeyStatus XfconfShortcut::Bind(const KeyChord& chord) {
    const ConnectionPtr bus = SessionBus();
    const auto properties = bus ? TextProperties(bus.get()) : std::nullopt;
    if (!properties) {
        return SummonKeyStatus::kFailed;
    }
    const bool commandsCustom = IsTrue(bus.get(), std::string(kCommands) + "override");
    const bool windowsCustom = IsTrue(bus.get(), "/xfwm4/custom/override");
    const std::string wanted = std::string(kCommands) + AcceleratorText(chord, AcceleratorStyle::kPrimary);
    bool taken = false;
    bool bound = false;
    for (const auto& [property, value] : *properties) {
        const std::optional<std::string> accelerator = ActiveAccelerator(property, commandsCustom, windowsCustom);
        const std::optional<KeyChord> held = accelerator ? ParseAccelerator(*accelerator) : std::nullopt;
        const bool ours = property.compare(0, sizeof kCommands - 1, kCommands) == 0 && value == command_;
        if (ours && property == wanted) {
            bound = true;
        } else if (ours) {
            Reset(bus.get(), property);
        } else if (held && held->SameKeys(chord)) {
            taken = true;
        }
    }
    if (taken) {
        if (bound) {
            Reset(bus.get(), wanted);
        }
        return SummonKeyStatus::kTaken;
    }
    if (bound) {
        return SummonKeyStatus::kBound;
    }
    const VariantPtr reply =
        Call(bus.get(), "SetProperty",
             g_variant_new("(ssv)", kChannel, wanted.c_str(), g_variant_new_string(command_.c_str())));
    return reply ? SummonKeyStatus::kBound : SummonKeyStatus::kFailed;
}

void XfconfShortcut::Unbind() {
    const ConnectionPtr bus = SessionBus();
    const auto properties = bus ? TextProperties(bus.get()) : std::nullopt;
    if (!properties) {
        return;
    }
    for (const auto& [property, value] : *properties) {
        if (property.compare(0, sizeof kCommands - 1, kCommands) == 0 && value == command_) {
            Reset(bus.get(), property);
        }
    }
}

}  // namespace nagitori::posix
