#include "platform/posix/AppPaths.h"

#include <algorithm>

namespace nagitori::posix {

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

}  // namespace

const AppPaths& DefaultAppPaths() {
    static const AppPaths table = {
        {"cmd.exe", {{"x-terminal-emulator", {}}, {"gnome-terminal", {}}, {"konsole", {}}, {"xterm", {}}}},
        {"calc", {{"gnome-calculator", {}}, {"kcalc", {}}, {"galculator", {}}, {"xcalc", {}}}},
        {"notepad", {{"gedit", {}}, {"gnome-text-editor", {}}, {"kate", {}}, {"mousepad", {}}, {"xed", {}}}},
        {"excel", {{"libreoffice", {"--calc"}}}},
        {"ms-settings:", {{"gnome-control-center", {}}, {"systemsettings", {}}, {"xfce4-settings-manager", {}}}},
    };
    return table;
}

const AppPathEntry* FindAppPath(const AppPaths& table, std::string_view name) {
    const auto found = std::find_if(table.begin(), table.end(), [name](const AppPathEntry& entry) {
        return EqualsIgnoringAsciiCase(entry.name, name);
    });
    return found == table.end() ? nullptr : &*found;
}

}  // namespace nagitori::posix
