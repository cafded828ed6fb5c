#include "platform/posix/CustomKeybinding.h"

#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>
#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace nagitori::posix {
namespace {

using test::TempDir;
using test::WriteFileBytes;

constexpr char kCommand[] = "'/home/u/my tools/nagitori'";
const KeyChord kCtrlAltSpace{KeyChord::kControl | KeyChord::kAlt, XKB_KEY_space, 0};
const KeyChord kSuperF12{KeyChord::kSuper, XKB_KEY_F12, 0};

// MATE's schemas come with packages this machine need not have: stand-ins with the keys the desktop reads.
constexpr char kMateStandIns[] = R"(<schemalist>
  <schema id="org.mate.control-center.keybinding">
    <key name="binding" type="s"><default>''</default></key>
    <key name="action" type="s"><default>''</default></key>
    <key name="name" type="s"><default>''</default></key>
  </schema>
  <schema id="org.mate.Marco.global-keybindings" path="/org/mate/marco/global-keybindings/">
    <key name="run-command-terminal" type="s"><default>'&lt;Control&gt;&lt;Alt&gt;t'</default></key>
  </schema>
</schemalist>
)";

// One desktop's store as the test drives it: where an entry is listed, and one built-in shortcut.
struct Desktop {
    const char* label;
    const CustomKeybindingSchemas& schemas;
    const char* builtInSchema;
    const char* builtInKey;
};

void PrintTo(const Desktop& desktop, std::ostream* out) {
    *out << desktop.label;
}

const Desktop kDesktops[] = {
    {"GNOME", GnomeKeybindings(), "org.gnome.desktop.wm.keybindings", "switch-applications"},
    {"Cinnamon", CinnamonKeybindings(), "org.cinnamon.desktop.keybindings.wm", "switch-windows"},
    {"MATE", MateKeybindings(), "org.mate.Marco.global-keybindings", "run-command-terminal"},
};

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using SettingsPtr = std::unique_ptr<GSettings, ObjectUnref>;

// The desktops' settings in memory, over the installed schemas and the stand-ins.
class CustomKeybindingTest : public ::testing::TestWithParam<Desktop> {
protected:
    void SetUp() override {
        WriteFileBytes(dir / "org.mate.stand-ins.gschema.xml", kMateStandIns);
        const std::string compile = "glib-compile-schemas '" + dir.Path().string() + "'";
        ASSERT_EQ(std::system(compile.c_str()), 0);
        source = g_settings_schema_source_new_from_directory(dir.Path().c_str(), g_settings_schema_source_get_default(),
                                                             FALSE, nullptr);
        ASSERT_NE(source, nullptr);
        for (const char* id : {desktop().schemas.entrySchema, desktop().builtInSchema}) {
            if (!Installed(id)) {
                GTEST_SKIP() << id << " is not installed (" << desktop().label << "'s schemas)";
            }
        }
        backend = g_memory_settings_backend_new();
    }

    void TearDown() override {
        if (backend != nullptr) {
            g_object_unref(backend);
        }
        if (source != nullptr) {
            g_settings_schema_source_unref(source);
        }
    }

    const Desktop& desktop() const { return GetParam(); }

    bool Installed(const char* id) const {
        GSettingsSchema* schema = g_settings_schema_source_lookup(source, id, TRUE);
        if (schema != nullptr) {
            g_settings_schema_unref(schema);
        }
        return schema != nullptr;
    }

    CustomKeybinding Binding() const {
        return CustomKeybinding(desktop().schemas, "ナギトリ", kCommand, backend, source);
    }

    SettingsPtr Open(const char* id, const std::string& path = {}) const {
        GSettingsSchema* schema = g_settings_schema_source_lookup(source, id, TRUE);
        GSettings* settings = g_settings_new_full(schema, backend, path.empty() ? nullptr : path.c_str());
        g_settings_schema_unref(schema);
        return SettingsPtr(settings);
    }

    std::string Entry(const std::string& name) const { return desktop().schemas.entryFolder + name + '/'; }

    std::vector<std::string> List() const {
        if (desktop().schemas.listSchema == nullptr) {
            return {};
        }
        gchar** items = g_settings_get_strv(Open(desktop().schemas.listSchema).get(), desktop().schemas.listKey);
        std::vector<std::string> list(items, items + g_strv_length(items));
        g_strfreev(items);
        return list;
    }

    // How the list names an entry.
    std::string Item(const std::string& name) const { return desktop().schemas.listHoldsPaths ? Entry(name) : name; }

    // The entry's accelerators, name and command, as the desktop reads them.
    std::string Shown(const std::string& name) const {
        const SettingsPtr entry = Open(desktop().schemas.entrySchema, Entry(name));
        GVariant* binding = g_settings_get_value(entry.get(), "binding");
        gchar* bindingText = g_variant_print(binding, FALSE);
        gchar* shownName = g_settings_get_string(entry.get(), "name");
        gchar* command = g_settings_get_string(entry.get(), desktop().schemas.commandKey);
        std::string shown = std::string(bindingText) + " " + shownName + " " + command;
        g_free(command);
        g_free(shownName);
        g_free(bindingText);
        g_variant_unref(binding);
        return shown;
    }

    // Whether any key of the entry holds a value of its own.
    bool Written(const std::string& name) const {
        const SettingsPtr entry = Open(desktop().schemas.entrySchema, Entry(name));
        bool written = false;
        for (const char* key : {"name", "binding", desktop().schemas.commandKey}) {
            if (GVariant* value = g_settings_get_user_value(entry.get(), key)) {
                written = true;
                g_variant_unref(value);
            }
        }
        return written;
    }

    std::string Accelerator(const char* text) const {
        return desktop().schemas.bindingIsList ? std::string("['") + text + "']" : std::string("'") + text + "'";
    }

    // A shortcut of the user's own, made as the desktop's settings make one.
    void AddUserEntry(const char* accelerator) const {
        const SettingsPtr entry = Open(desktop().schemas.entrySchema, Entry("custom0"));
        g_settings_set_string(entry.get(), "name", "Terminal");
        g_settings_set_string(entry.get(), desktop().schemas.commandKey, "x-terminal-emulator");
        g_settings_set_value(entry.get(), "binding",
                             g_variant_parse(nullptr, Accelerator(accelerator).c_str(), nullptr, nullptr, nullptr));
        if (desktop().schemas.listSchema != nullptr) {
            const SettingsPtr list = Open(desktop().schemas.listSchema);
            const std::string item = Item("custom0");
            const gchar* items[] = {item.c_str(), nullptr};
            g_settings_set_strv(list.get(), desktop().schemas.listKey, items);
        }
    }

    TempDir dir;
    GSettingsSchemaSource* source = nullptr;
    GSettingsBackend* backend = nullptr;
};

TEST_P(CustomKeybindingTest, BindsItsOwnEntryReplacesItAndRemovesIt) {
    const bool listed = desktop().schemas.listSchema != nullptr;
    AddUserEntry("<Super>t");
    const std::string user = Shown("custom0");

    EXPECT_EQ(Binding().Bind(kCtrlAltSpace), SummonKeyStatus::kBound);
    EXPECT_EQ(Shown("nagitori"), Accelerator("<Control><Alt>space") + " ナギトリ " + kCommand);
    if (listed) {
        EXPECT_EQ(List(), (std::vector<std::string>{Item("custom0"), Item("nagitori")}));
    }

    // A later run finds its entry again and changes only that.
    EXPECT_EQ(Binding().Bind(kSuperF12), SummonKeyStatus::kBound);
    EXPECT_EQ(Shown("nagitori"), Accelerator("<Super>F12") + " ナギトリ " + kCommand);
    if (listed) {
        EXPECT_EQ(List(), (std::vector<std::string>{Item("custom0"), Item("nagitori")}));
    }

    Binding().Unbind();
    EXPECT_FALSE(Written("nagitori"));
    if (listed) {
        EXPECT_EQ(List(), std::vector<std::string>{Item("custom0")});
    }
    EXPECT_EQ(Shown("custom0"), user);
}

TEST_P(CustomKeybindingTest, AChordTheDesktopUsesIsTakenAndLeavesNothingOfOursBound) {
    for (const bool userEntry : {false, true}) {
        // MATE reads its entries by folder, which GSettings cannot list: only its own shortcuts are looked at.
        if (userEntry && desktop().schemas.listSchema == nullptr) {
            continue;
        }
        SCOPED_TRACE(userEntry ? "a custom shortcut of the user's" : "the desktop's own shortcut");
        g_object_unref(backend);
        backend = g_memory_settings_backend_new();
        ASSERT_EQ(Binding().Bind(kSuperF12), SummonKeyStatus::kBound);
        if (userEntry) {
            AddUserEntry("<Primary><Alt>Space");
        } else {
            const SettingsPtr builtIn = Open(desktop().builtInSchema);
            GVariant* current = g_settings_get_value(builtIn.get(), desktop().builtInKey);
            const bool list = g_variant_is_of_type(current, G_VARIANT_TYPE_STRING_ARRAY);
            g_variant_unref(current);
            const char* taken = list ? "['<Alt>Tab', '<Ctrl><Alt>space']" : "'<Ctrl><Alt>space'";
            g_settings_set_value(builtIn.get(), desktop().builtInKey,
                                 g_variant_parse(nullptr, taken, nullptr, nullptr, nullptr));
        }

        EXPECT_EQ(Binding().Bind(kCtrlAltSpace), SummonKeyStatus::kTaken);
        EXPECT_FALSE(Written("nagitori"));
        const std::vector<std::string> list = List();
        EXPECT_EQ(std::find(list.begin(), list.end(), Item("nagitori")), list.end());
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, CustomKeybindingTest, ::testing::ValuesIn(kDesktops),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace nagitori::posix
