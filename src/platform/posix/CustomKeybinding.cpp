#include "platform/posix/CustomKeybinding.h"

#include <gio/gio.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/posix/Accelerators.h"
#include "platform/posix/GLibOwners.h"

namespace nagitori::posix {

namespace {

// The folder of this program's entry, below the desktop's folder of custom shortcuts.
constexpr char kEntryName[] = "nagitori";
constexpr char kNameKey[] = "name";
constexpr char kBindingKey[] = "binding";

struct SchemaUnref {
    void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
};
using SettingsPtr = ObjectPtr<GSettings>;
using SchemaPtr = std::unique_ptr<GSettingsSchema, SchemaUnref>;

// A key's texts: one for a text key, each for a list of texts, none for any other type.
std::vector<std::string> Texts(GSettings* settings, const char* key) {
    const VariantPtr value(g_settings_get_value(settings, key));
    std::vector<std::string> texts;
    if (g_variant_is_of_type(value.get(), G_VARIANT_TYPE_STRING)) {
        texts.emplace_back(g_variant_get_string(value.get(), nullptr));
    } else if (g_variant_is_of_type(value.get(), G_VARIANT_TYPE_STRING_ARRAY)) {
        gsize count = 0;
        std::unique_ptr<const gchar*, decltype(&g_free)> strings(g_variant_get_strv(value.get(), &count), g_free);
        texts.assign(strings.get(), strings.get() + count);
    }
    return texts;
}

bool HoldsChord(GSettings* settings, const char* key, const KeyChord& chord) {
    for (const std::string& text : Texts(settings, key)) {
        const std::optional<KeyChord> held = ParseAccelerator(text);
        if (held && held->SameKeys(chord)) {
            return true;
        }
    }
    return false;
}

GVariant* StringList(const std::vector<std::string>& texts) {
    std::vector<const gchar*> pointers;
    for (const std::string& text : texts) {
        pointers.push_back(text.c_str());
    }
    return g_variant_new_strv(pointers.data(), static_cast<gssize>(pointers.size()));
}

}  // namespace

// The desktop's schemas as this run finds them.
struct CustomKeybinding::Store {
    GSettingsSchemaSource* source;
    GSettingsBackend* backend;

    SchemaPtr Lookup(const char* id) const {
        return SchemaPtr(source == nullptr ? nullptr : g_settings_schema_source_lookup(source, id, TRUE));
    }
    // Settings of an installed schema; a relocatable one at `path`. Null when the schema is not installed.
    SettingsPtr Open(const char* id, const char* path = nullptr) const {
        const SchemaPtr schema = Lookup(id);
        if (!schema || (path == nullptr && g_settings_schema_get_path(schema.get()) == nullptr)) {
            return nullptr;
        }
        return SettingsPtr(g_settings_new_full(schema.get(), backend, path));
    }
};

namespace {

const CustomKeybindingSchemas kGnome{
    "org.gnome.settings-daemon.plugins.media-keys",
    "custom-keybindings",
    true,
    "org.gnome.settings-daemon.plugins.media-keys.custom-keybinding",
    "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/",
    "command",
    false,
    {"org.gnome.desktop.wm.keybindings", "org.gnome.shell.keybindings", "org.gnome.mutter.keybindings",
     "org.gnome.mutter.wayland.keybindings", "org.gnome.settings-daemon.plugins.media-keys"},
};

const CustomKeybindingSchemas kCinnamon{
    "org.cinnamon.desktop.keybindings",
    "custom-list",
    false,
    "org.cinnamon.desktop.keybindings.custom-keybinding",
    "/org/cinnamon/desktop/keybindings/custom-keybindings/",
    "command",
    true,
    {"org.cinnamon.desktop.keybindings", "org.cinnamon.desktop.keybindings.wm",
     "org.cinnamon.desktop.keybindings.media-keys"},
};

const CustomKeybindingSchemas kMate{
    nullptr,
    nullptr,
    false,
    "org.mate.control-center.keybinding",
    "/org/mate/desktop/keybindings/",
    "action",
    false,
    {"org.mate.Marco.global-keybindings", "org.mate.Marco.window-keybindings",
     "org.mate.SettingsDaemon.plugins.media-keys"},
};

}  // namespace

const CustomKeybindingSchemas& GnomeKeybindings() {
    return kGnome;
}
const CustomKeybindingSchemas& CinnamonKeybindings() {
    return kCinnamon;
}
const CustomKeybindingSchemas& MateKeybindings() {
    return kMate;
}

CustomKeybinding::CustomKeybinding(const CustomKeybindingSchemas& desktop, std::string name, std::string command,
                                   GSettingsBackend* backend, GSettingsSchemaSource* schemas)
    : desktop_(desktop),
      name_(std::move(name)),
      command_(std::move(command)),
      backend_(backend == nullptr ? nullptr : static_cast<GSettingsBackend*>(g_object_ref(backend))),
      schemas_(schemas == nullptr ? g_settings_schema_source_get_default() : schemas) {
    if (schemas_ != nullptr) {
        g_settings_schema_source_ref(schemas_);
    }
}

CustomKeybinding::~CustomKeybinding() {
    if (backend_ != nullptr) {
        g_object_unref(backend_);
    }
    if (schemas_ != nullptr) {
        g_settings_schema_source_unref(schemas_);
    }
}

std::string CustomKeybinding::EntryPath() const {
    return std::string(desktop_.entryFolder) + kEntryName + '/';
}

bool CustomKeybinding::Taken(const KeyChord& chord, const std::vector<std::string>& items,
                             const std::string& ours) const {
    const Store store{schemas_, backend_};
    for (const char* id : desktop_.builtInSchemas) {
        const SchemaPtr schema = store.Lookup(id);
        const SettingsPtr settings = store.Open(id);
        if (!settings) {
            continue;
        }
        gchar** keys = g_settings_schema_list_keys(schema.get());
        bool taken = false;
        for (gchar** key = keys; *key != nullptr && !taken; ++key) {
            taken = HoldsChord(settings.get(), *key, chord);
        }
        g_strfreev(keys);
        if (taken) {
            return true;
        }
    }
    for (const std::string& item : items) {
        if (item == ours) {
            continue;
        }
        const std::string path = desktop_.listHoldsPaths ? item : desktop_.entryFolder + item + '/';
        const SettingsPtr entry = store.Open(desktop_.entrySchema, path.c_str());
        if (entry && HoldsChord(entry.get(), kBindingKey, chord)) {
            return true;
        }
    }
    return false;
}

SummonKeyStatus CustomKeybinding::Bind(const KeyChord& chord) {
    const Store store{schemas_, backend_};
    const std::string path = EntryPath();
    const SettingsPtr entry = store.Open(desktop_.entrySchema, path.c_str());
    const SettingsPtr list = desktop_.listSchema == nullptr ? nullptr : store.Open(desktop_.listSchema);
    if (!entry || (desktop_.listSchema != nullptr && !list)) {
        return SummonKeyStatus::kFailed;
    }
    const std::string item = desktop_.listHoldsPaths ? path : std::string(kEntryName);

    std::vector<std::string> items = list ? Texts(list.get(), desktop_.listKey) : std::vector<std::string>();
    if (Taken(chord, items, item)) {
        Unbind();
        return SummonKeyStatus::kTaken;
    }
    for (const char* key : {kNameKey, desktop_.commandKey, kBindingKey}) {
        if (!g_settings_is_writable(entry.get(), key)) {
            return SummonKeyStatus::kFailed;
        }
    }
    if (list && !g_settings_is_writable(list.get(), desktop_.listKey)) {
        return SummonKeyStatus::kFailed;
    }
    // The desktop sees the whole entry change at once, before the list names it.
    const std::string accelerator = AcceleratorText(chord, AcceleratorStyle::kControl);
    g_settings_delay(entry.get());
    g_settings_set_string(entry.get(), kNameKey, name_.c_str());
    g_settings_set_string(entry.get(), desktop_.commandKey, command_.c_str());
    g_settings_set_value(
        entry.get(), kBindingKey,
        desktop_.bindingIsList ? StringList({accelerator}) : g_variant_new_string(accelerator.c_str()));
    g_settings_apply(entry.get());
    if (list && std::find(items.begin(), items.end(), item) == items.end()) {
        items.push_back(item);
        g_settings_set_value(list.get(), desktop_.listKey, StringList(items));
    }
    g_settings_sync();
    return SummonKeyStatus::kBound;
}

void CustomKeybinding::Unbind() {
    const Store store{schemas_, backend_};
    const std::string path = EntryPath();
    const SettingsPtr entry = store.Open(desktop_.entrySchema, path.c_str());
    if (!entry) {
        return;
    }
    if (desktop_.listSchema != nullptr) {
        if (const SettingsPtr list = store.Open(desktop_.listSchema)) {
            std::vector<std::string> items = Texts(list.get(), desktop_.listKey);
            const std::string item = desktop_.listHoldsPaths ? path : std::string(kEntryName);
            const auto kept = std::remove(items.begin(), items.end(), item);
            if (kept != items.end()) {
                items.erase(kept, items.end());
                g_settings_set_value(list.get(), desktop_.listKey, StringList(items));
            }
        }
    }
    // Only keys that hold a value: an entry that was never written is not written now.
    for (const char* key : {kNameKey, desktop_.commandKey, kBindingKey}) {
        if (const VariantPtr value{g_settings_get_user_value(entry.get(), key)}) {
            g_settings_reset(entry.get(), key);
        }
    }
    g_settings_sync();
}

}  // namespace nagitori::posix
