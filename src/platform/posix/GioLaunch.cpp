#include "platform/posix/GioLaunch.h"

#include <gio/gio.h>

#include <memory>

#include "platform/LaunchRequest.h"
#include "platform/posix/ShellResults.h"

namespace nagitori::posix {

namespace {

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using ObjectPtr = std::unique_ptr<T, ObjectUnref>;

int SpawnFailure(const GError& error) {
    switch (error.code) {
        case G_SPAWN_ERROR_NOENT: return kShellFileNotFound;
        case G_SPAWN_ERROR_ACCES:
        case G_SPAWN_ERROR_PERM:
        case G_SPAWN_ERROR_ISDIR: return kShellAccessDenied;
        case G_SPAWN_ERROR_NOMEM:
        case G_SPAWN_ERROR_FORK:
        case G_SPAWN_ERROR_MFILE:
        case G_SPAWN_ERROR_NFILE: return kShellOutOfMemory;
        case G_SPAWN_ERROR_NOEXEC:
        case G_SPAWN_ERROR_LIBBAD: return kShellBadFormat;
        case G_SPAWN_ERROR_CHDIR:
        case G_SPAWN_ERROR_NOTDIR:
        case G_SPAWN_ERROR_NAMETOOLONG:
        case G_SPAWN_ERROR_LOOP: return kShellPathNotFound;
        case G_SPAWN_ERROR_TOO_BIG: return kShellInvalidParameters;
        default: return kShellOutOfResources;
    }
}

int LaunchFailure(const GError& error) {
    if (error.domain == G_SPAWN_ERROR) {
        return SpawnFailure(error);
    }
    if (error.domain == G_IO_ERROR) {
        switch (error.code) {
            case G_IO_ERROR_NOT_FOUND: return kShellFileNotFound;
            case G_IO_ERROR_PERMISSION_DENIED: return kShellAccessDenied;
            default: break;
        }
    }
    return kShellNoAssociation;
}

int Spawn(const std::vector<std::string>& argv, const std::string& directory, GSpawnFlags flags, GPid* child) {
    std::vector<char*> pointers;
    pointers.reserve(argv.size() + 1);
    for (const std::string& argument : argv) {
        pointers.push_back(const_cast<char*>(argument.c_str()));
    }
    pointers.push_back(nullptr);
    GError* error = nullptr;
    if (!g_spawn_async(directory.empty() ? nullptr : directory.c_str(), pointers.data(), nullptr, flags, nullptr,
                       nullptr, child, &error)) {
        const ErrorPtr owned(error);
        return SpawnFailure(*owned);
    }
    return kShellSuccess;
}

void ReapChild(GPid child, gint /*status*/, gpointer /*data*/) {
    g_spawn_close_pid(child);
}

}  // namespace

std::optional<std::vector<std::string>> SplitParameters(const std::string& parameters) {
    gint count = 0;
    gchar** argv = nullptr;
    GError* error = nullptr;
    if (!g_shell_parse_argv(parameters.c_str(), &count, &argv, &error)) {
        const ErrorPtr owned(error);
        if (g_error_matches(owned.get(), G_SHELL_ERROR, G_SHELL_ERROR_EMPTY_STRING)) {
            return std::vector<std::string>();
        }
        return std::nullopt;
    }
    std::vector<std::string> arguments(argv, argv + count);
    g_strfreev(argv);
    return arguments;
}

int SpawnDetached(const std::vector<std::string>& argv, const std::string& directory) {
    // Without G_SPAWN_DO_NOT_REAP_CHILD GLib forks twice and reaps the intermediate child itself.
    return Spawn(argv, directory, G_SPAWN_DEFAULT, nullptr);
}

int SpawnWatched(const std::vector<std::string>& argv, const std::string& directory) {
    GPid child = 0;
    const int result = Spawn(argv, directory, G_SPAWN_DO_NOT_REAP_CHILD, &child);
    if (result == kShellSuccess) {
        g_child_watch_add(child, ReapChild, nullptr);
    }
    return result;
}

int OpenWithDefaultApplication(const std::filesystem::path& path) {
    const ObjectPtr<GFile> file(g_file_new_for_path(path.c_str()));
    GError* error = nullptr;
    const ObjectPtr<GFileInfo> info(
        g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE, G_FILE_QUERY_INFO_NONE, nullptr, &error));
    if (!info) {
        const ErrorPtr owned(error);
        return LaunchFailure(*owned);
    }
    const char* contentType = g_file_info_get_content_type(info.get());
    const ObjectPtr<GAppInfo> application(contentType == nullptr ? nullptr
                                                                 : g_app_info_get_default_for_type(contentType, FALSE));
    if (!application) {
        return kShellNoAssociation;
    }
    GList files{file.get(), nullptr, nullptr};
    // TRUE means the handler was spawned, not that it could open the file.
    if (!g_app_info_launch(application.get(), &files, nullptr, &error)) {
        const ErrorPtr owned(error);
        return LaunchFailure(*owned);
    }
    return kShellSuccess;
}

int OpenWithSchemeHandler(const std::string& uri, const std::string& scheme) {
    const ObjectPtr<GAppInfo> application(g_app_info_get_default_for_uri_scheme(scheme.c_str()));
    if (!application) {
        return kShellNoAssociation;
    }
    GList uris{const_cast<char*>(uri.c_str()), nullptr, nullptr};
    GError* error = nullptr;
    if (!g_app_info_launch_uris(application.get(), &uris, nullptr, &error)) {
        const ErrorPtr owned(error);
        return LaunchFailure(*owned);
    }
    return kShellSuccess;
}

}  // namespace nagitori::posix
