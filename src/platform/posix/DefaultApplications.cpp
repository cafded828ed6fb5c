#include "platform/posix/DefaultApplications.h"

#include <glib.h>

#include <filesystem>

#include "platform/posix/GLibOwners.h"

namespace nagitori::posix {

namespace {

// The folders of the lists, most important first.
std::vector<std::filesystem::path> ListFolders() {
    std::vector<std::filesystem::path> folders = {g_get_user_config_dir()};
    for (const gchar* const* folder = g_get_system_config_dirs(); *folder != nullptr; ++folder) {
        folders.emplace_back(*folder);
    }
    folders.push_back(std::filesystem::path(g_get_user_data_dir()) / "applications");
    for (const gchar* const* folder = g_get_system_data_dirs(); *folder != nullptr; ++folder) {
        folders.push_back(std::filesystem::path(*folder) / "applications");
    }
    return folders;
}

// "GNOME:ubuntu" gives "gnome-mimeapps.list", "ubuntu-mimeapps.list", then the general lists.
std::vector<std::string> ListNames(std::string_view currentDesktop) {
    std::vector<std::string> names;
    while (!currentDesktop.empty()) {
        const std::size_t colon = currentDesktop.find(':');
        std::string name(currentDesktop.substr(0, colon));
        for (char& c : name) {
            c = g_ascii_tolower(c);
        }
        if (!name.empty()) {
            names.push_back(name + "-mimeapps.list");
        }
        currentDesktop.remove_prefix(colon == std::string_view::npos ? currentDesktop.size() : colon + 1);
    }
    names.insert(names.end(), {"mimeapps.list", "defaults.list"});
    return names;
}

}  // namespace

std::vector<std::string> DefaultsSetFor(std::string_view mimeType, std::string_view currentDesktop) {
    const std::string key(mimeType);
    std::vector<std::string> ids;
    const std::vector<std::string> names = ListNames(currentDesktop);
    for (const std::filesystem::path& folder : ListFolders()) {
        for (const std::string& name : names) {
            const KeyFilePtr list(g_key_file_new());
            if (!g_key_file_load_from_file(list.get(), (folder / name).c_str(), G_KEY_FILE_NONE, nullptr)) {
                continue;
            }
            gchar** named =
                g_key_file_get_string_list(list.get(), "Default Applications", key.c_str(), nullptr, nullptr);
            for (gchar** id = named; id != nullptr && *id != nullptr; ++id) {
                if (**id != '\0') {
                    ids.emplace_back(*id);
                }
            }
            g_strfreev(named);
        }
    }
    return ids;
}

}  // namespace nagitori::posix
