#pragma once

#include <string>
#include <vector>

#include "platform/SummonKeyBinding.h"

typedef struct _GSettingsBackend GSettingsBackend;
typedef struct _GSettingsSchemaSource GSettingsSchemaSource;

namespace nagitori::posix {

// Where a GSettings desktop keeps its custom shortcuts: one relocatable entry (name, command, accelerator) per
// shortcut below a folder of its own.
struct CustomKeybindingSchemas {
    // The list of entries the desktop reads; null where it reads every folder below entryFolder (MATE).
    const char* listSchema;
    const char* listKey;
    // GNOME lists whole paths, Cinnamon the entries' folder names.
    bool listHoldsPaths;
    const char* entrySchema;
    const char* entryFolder;  // ends with '/'
    const char* commandKey;
    // Cinnamon keeps a list of accelerators per entry, the others one.
    bool bindingIsList;
    // The desktop's own shortcuts, looked through for a chord that is taken.
    std::vector<const char*> builtInSchemas;
};

const CustomKeybindingSchemas& GnomeKeybindings();
const CustomKeybindingSchemas& CinnamonKeybindings();
const CustomKeybindingSchemas& MateKeybindings();

// The summon key as the desktop's own custom shortcut that runs the program's command, which hands over to the
// running copy. The entry lives in a folder of this program's name, so that it is found again in a later run and
// nothing else is touched. It stays when the program ends: the key then starts the program.
class CustomKeybinding : public SummonKeyBinding {
public:
    // `backend` and `schemas`: null for the desktop's own (tests bring a memory backend and their own schemas).
    CustomKeybinding(const CustomKeybindingSchemas& desktop, std::string name, std::string command,
                     GSettingsBackend* backend = nullptr, GSettingsSchemaSource* schemas = nullptr);
    ~CustomKeybinding() override;
    CustomKeybinding(const CustomKeybinding&) = delete;
    CustomKeybinding& operator=(const CustomKeybinding&) = delete;

    SummonKeyStatus Bind(const KeyChord& chord) override;
    void Unbind() override;

    // The path of this program's entry.
    std::string EntryPath() const;

private:
    struct Store;

    // Whether one of the desktop's own shortcuts, or another listed entry than `ours`, holds the chord.
    bool Taken(const KeyChord& chord, const std::vector<std::string>& items, const std::string& ours) const;

    const CustomKeybindingSchemas& desktop_;
    std::string name_;
    std::string command_;
    GSettingsBackend* backend_;
    GSettingsSchemaSource* schemas_;
};

}  // namespace nagitori::posix
