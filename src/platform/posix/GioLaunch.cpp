#include "platform/posix/GioLaunch.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <system_error>
#include <utility>

#include "platform/LaunchRequest.h"
#include "platform/posix/GLibOwners.h"
#include "platform/posix/ShellResults.h"

namespace nagitori::posix {

namespace {

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

int LaunchFailure(GError* error) {
    const ErrorPtr owned(error);
    if (error == nullptr) {
        return kShellNoAssociation;
    }
    if (error->domain == G_SPAWN_ERROR) {
        return SpawnFailure(*error);
    }
    if (error->domain == G_IO_ERROR) {
        switch (error->code) {
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

// Runs in the started program's process between fork and exec, where only async-signal-safe calls belong.
void ChangeDirectory(gpointer directory) {
    if (chdir(static_cast<const char*>(directory)) != 0) {
        _exit(127);
    }
}

enum class Quoting { None, Single, Double };

// `text` written inside the quoting of an Exec line, so that parsing the line gives `text` back.
std::string QuotedFor(Quoting quoting, const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (quoting == Quoting::Single && c == '\'') {
            escaped += "'\\''";
            continue;
        }
        if (quoting == Quoting::Double && (c == '"' || c == '\\' || c == '$' || c == '`')) {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

// The words as shell words, each as typed, with their percent signs doubled against field-code expansion.
std::string ShellWords(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        const StringPtr quoted(g_shell_quote(word.c_str()));
        text += text.empty() ? "" : " ";
        for (const char* c = quoted.get(); *c != '\0'; ++c) {
            text += *c == '%' ? "%%" : std::string(1, *c);
        }
    }
    return text;
}

bool IsFileCode(char code) {
    return code == 'f' || code == 'F' || code == 'u' || code == 'U';
}

// An Exec line with the typed words, all of them and as they are, where it takes files or URIs: in place of its
// first such field code, quoted for where that code stands (inside "sh -c '...'" too), or at its end when it has
// none. Further file codes go, so that the program starts once; the other field codes stay.
std::string ExecWithWords(const std::string& exec, const std::vector<std::string>& words) {
    const std::string shellWords = ShellWords(words);
    std::string line;
    Quoting quoting = Quoting::None;
    bool placed = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        const char next = i + 1 < exec.size() ? exec[i + 1] : '\0';
        if (c == '%' && next != '\0') {
            if (!IsFileCode(next)) {
                line += {c, next};
            } else if (!placed) {
                line += QuotedFor(quoting, shellWords);
                placed = true;
            }
            ++i;
            continue;
        }
        if (c == '\\' && quoting != Quoting::Single && next != '\0' && next != '%') {
            line += {c, next};
            ++i;
            continue;
        }
        if (quoting == Quoting::None && (c == '\'' || c == '"')) {
            quoting = c == '"' ? Quoting::Double : Quoting::Single;
        } else if ((quoting == Quoting::Single && c == '\'') || (quoting == Quoting::Double && c == '"')) {
            quoting = Quoting::None;
        }
        line += c;
    }
    if (!placed && !words.empty()) {
        line += " " + shellWords;
    }
    return line;
}

GAppInfo* Info(const std::shared_ptr<void>& info) {
    return static_cast<GAppInfo*>(info.get());
}

IconReference Reference(GIcon* icon) {
    IconReference reference;
    if (icon != nullptr && G_IS_THEMED_ICON(icon)) {
        for (const gchar* const* name = g_themed_icon_get_names(G_THEMED_ICON(icon)); *name != nullptr; ++name) {
            reference.themeNames.emplace_back(*name);
        }
    } else if (icon != nullptr && G_IS_FILE_ICON(icon)) {
        const StringPtr path(g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon))));
        if (path) {
            reference.file = path.get();
        }
    }
    return reference;
}

// The program a command word names: a path as it is, a bare name from PATH, as GIO starts it.
std::filesystem::path ProgramOfCommand(const char* word) {
    if (word == nullptr || *word == '\0') {
        return {};
    }
    if (std::strchr(word, '/') != nullptr) {
        return word;
    }
    const StringPtr found(g_find_program_in_path(word));
    return found ? std::filesystem::path(found.get()) : std::filesystem::path();
}

}  // namespace

int SpawnDetached(const std::vector<std::string>& argv, const std::string& directory) {
    // Without G_SPAWN_DO_NOT_REAP_CHILD GLib forks twice and reaps the intermediate child itself.
    return Spawn(argv, directory, G_SPAWN_DEFAULT, nullptr);
}

int SpawnChild(const std::vector<std::string>& argv, const std::string& directory, pid_t& child) {
    GPid pid = 0;
    const int result = Spawn(argv, directory, G_SPAWN_DO_NOT_REAP_CHILD, &pid);
    child = pid;
    return result;
}

void ReapLater(pid_t child) {
    g_child_watch_add(child, ReapChild, nullptr);
}

DesktopApp::DesktopApp(void* info) : info_(info, g_object_unref) {}

std::optional<DesktopApp> DesktopApp::FromId(const std::string& id) {
    GDesktopAppInfo* info = g_desktop_app_info_new(id.c_str());
    return info == nullptr ? std::nullopt : std::optional(DesktopApp(info));
}

std::optional<DesktopApp> DesktopApp::FromFile(const std::filesystem::path& file) {
    GDesktopAppInfo* info = g_desktop_app_info_new_from_filename(file.c_str());
    if (info == nullptr) {
        return std::nullopt;
    }
    DesktopApp application(info);
    // An entry without a command could only be started through D-Bus activation, which a file of one's own
    // does not get.
    return g_app_info_get_commandline(G_APP_INFO(info)) == nullptr ? std::nullopt : std::optional(application);
}

std::optional<DesktopApp> DesktopApp::FromEntryText(const std::string& text) {
    const KeyFilePtr entry(g_key_file_new());
    if (!g_key_file_load_from_data(entry.get(), text.data(), text.size(), G_KEY_FILE_NONE, nullptr)) {
        return std::nullopt;
    }
    GDesktopAppInfo* info = g_desktop_app_info_new_from_keyfile(entry.get());
    if (info == nullptr) {
        return std::nullopt;
    }
    DesktopApp application(info);
    return g_app_info_get_commandline(G_APP_INFO(info)) == nullptr ? std::nullopt : std::optional(application);
}

std::optional<DesktopApp> DesktopApp::DefaultForType(const std::string& contentType) {
    GAppInfo* info = g_app_info_get_default_for_type(contentType.c_str(), FALSE);
    return info == nullptr ? std::nullopt : std::optional(DesktopApp(info));
}

std::optional<DesktopApp> DesktopApp::DefaultForScheme(const std::string& scheme) {
    GAppInfo* info = g_app_info_get_default_for_uri_scheme(scheme.c_str());
    return info == nullptr ? std::nullopt : std::optional(DesktopApp(info));
}

std::vector<DesktopApp> DesktopApp::AllForType(const std::string& contentType) {
    std::vector<DesktopApp> applications;
    if (std::optional<DesktopApp> preferred = DefaultForType(contentType)) {
        applications.push_back(std::move(*preferred));
    }
    GList* all = g_app_info_get_all_for_type(contentType.c_str());
    for (GList* item = all; item != nullptr; item = item->next) {
        auto* info = static_cast<GAppInfo*>(item->data);
        const bool known = std::any_of(applications.begin(), applications.end(), [info](const DesktopApp& application) {
            return g_app_info_equal(Info(application.info_), info);
        });
        if (known) {
            g_object_unref(info);
        } else {
            applications.push_back(DesktopApp(info));
        }
    }
    g_list_free(all);
    return applications;
}

std::optional<DesktopApp> DesktopApp::RunningProgram(const std::filesystem::path& program) {
    std::error_code error;
    const std::filesystem::path wanted = std::filesystem::canonical(program, error);
    if (error) {
        return std::nullopt;
    }
    gchar*** groups = g_desktop_app_info_search(program.filename().c_str());
    std::optional<DesktopApp> found;
    for (gchar*** group = groups; group != nullptr && *group != nullptr; ++group) {
        for (gchar** id = *group; !found && *id != nullptr; ++id) {
            std::optional<DesktopApp> application = FromId(*id);
            const std::filesystem::path runs =
                application ? ProgramOfCommand(g_app_info_get_executable(Info(application->info_)))
                            : std::filesystem::path();
            if (!runs.empty() && std::filesystem::equivalent(runs, wanted, error)) {
                found = std::move(application);
            }
        }
        g_strfreev(*group);
    }
    g_free(groups);
    return found;
}

IconReference DesktopApp::Icon() const {
    return Reference(g_app_info_get_icon(Info(info_)));
}

bool DesktopApp::NeedsTerminal() const {
    return G_IS_DESKTOP_APP_INFO(info_.get()) &&
           g_desktop_app_info_get_boolean(G_DESKTOP_APP_INFO(info_.get()), G_KEY_FILE_DESKTOP_KEY_TERMINAL);
}

std::string DesktopApp::Description() const {
    const char* name = g_app_info_get_display_name(Info(info_));
    const char* executable = g_app_info_get_executable(Info(info_));
    std::string text = name == nullptr ? std::string() : name;
    if (executable != nullptr && *executable != '\0') {
        const StringPtr base(g_path_get_basename(executable));
        text += text.empty() ? base.get() : " (" + std::string(base.get()) + ")";
    }
    return text;
}

bool DesktopApp::Supports(const std::string& contentType) const {
    const char** types = g_app_info_get_supported_types(Info(info_));
    for (const char** type = types; type != nullptr && *type != nullptr; ++type) {
        if (contentType == *type) {
            return true;
        }
    }
    return false;
}

int DesktopApp::Launch(const std::vector<std::string>& words, const std::string& directory) const {
    if (words.empty()) {
        return LaunchUris({}, directory);
    }
    // GIO hands an application files and URIs, one process each where it takes one: a copy of the entry whose
    // command line holds the words as they are starts once. Without an ID the copy is never started as a D-Bus
    // service, which would take files only.
    const char* file =
        G_IS_DESKTOP_APP_INFO(info_.get()) ? g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(info_.get())) : nullptr;
    const char* exec = g_app_info_get_commandline(Info(info_));
    const KeyFilePtr keys(g_key_file_new());
    if (file == nullptr || exec == nullptr ||
        !g_key_file_load_from_file(keys.get(), file, G_KEY_FILE_KEEP_TRANSLATIONS, nullptr)) {
        return kShellBadFormat;
    }
    g_key_file_set_string(keys.get(), G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_EXEC,
                          ExecWithWords(exec, words).c_str());
    GDesktopAppInfo* copy = g_desktop_app_info_new_from_keyfile(keys.get());
    return copy == nullptr ? kShellBadFormat : DesktopApp(copy).LaunchUris({}, directory);
}

int DesktopApp::OpenUri(const std::string& uri) const {
    return LaunchUris({uri}, {});
}

int DesktopApp::OpenDocument(const std::filesystem::path& document) const {
    const ObjectPtr<GFile> file(g_file_new_for_path(document.c_str()));
    const StringPtr uri(g_file_get_uri(file.get()));
    return LaunchUris({uri.get()}, {});
}

int DesktopApp::LaunchUris(const std::vector<std::string>& texts, const std::string& directory) const {
    GList* uris = nullptr;
    for (auto text = texts.rbegin(); text != texts.rend(); ++text) {
        uris = g_list_prepend(uris, const_cast<char*>(text->c_str()));
    }
    GError* error = nullptr;
    gboolean launched = FALSE;
    if (G_IS_DESKTOP_APP_INFO(info_.get())) {
        auto* desktopInfo = G_DESKTOP_APP_INFO(info_.get());
        const bool ours = !directory.empty() && OwnFolder().empty();
        // G_SPAWN_SEARCH_PATH without G_SPAWN_DO_NOT_REAP_CHILD: found on PATH as GIO does, and detached.
        launched = g_desktop_app_info_launch_uris_as_manager(
            desktopInfo, uris, nullptr, G_SPAWN_SEARCH_PATH, ours ? ChangeDirectory : nullptr,
            ours ? const_cast<char*>(directory.c_str()) : nullptr, nullptr, nullptr, &error);
    } else {
        launched = g_app_info_launch_uris(Info(info_), uris, nullptr, &error);
    }
    g_list_free(uris);
    // TRUE means the program was spawned, not that it could open what it was given.
    return launched ? kShellSuccess : LaunchFailure(error);
}

std::string DesktopApp::OwnFolder() const {
    // The folder of the desktop file's own Path key wins, as a shortcut's own folder does.
    if (!G_IS_DESKTOP_APP_INFO(info_.get())) {
        return {};
    }
    const StringPtr folder(g_desktop_app_info_get_string(G_DESKTOP_APP_INFO(info_.get()), "Path"));
    return folder ? std::string(folder.get()) : std::string();
}

std::vector<std::string> DesktopApp::CommandLine(const std::vector<std::string>& words) const {
    const char* exec = g_app_info_get_commandline(Info(info_));
    if (exec == nullptr) {
        return {};
    }
    // The other field codes: "%%" is a percent sign; the rest (icon, name, location) only matter to a desktop.
    const std::string withWords = ExecWithWords(exec, words);
    std::string line;
    for (std::size_t i = 0; i < withWords.size(); ++i) {
        if (withWords[i] != '%') {
            line += withWords[i];
        } else if (i + 1 < withWords.size() && withWords[++i] == '%') {
            line += '%';
        }
    }
    gchar** parsed = nullptr;
    if (!g_shell_parse_argv(line.c_str(), nullptr, &parsed, nullptr)) {
        return {};
    }
    std::vector<std::string> command(parsed, parsed + g_strv_length(parsed));
    g_strfreev(parsed);
    return command;
}

bool DesktopApp::WrappedProgramInstalled() const {
    const char* exec = g_app_info_get_commandline(Info(info_));
    gchar** parsed = nullptr;
    if (exec == nullptr || !g_shell_parse_argv(exec, nullptr, &parsed, nullptr)) {
        return false;
    }
    const std::vector<std::string> words(parsed, parsed + g_strv_length(parsed));
    g_strfreev(parsed);
    if (words.empty() || std::filesystem::path(words.front()).filename() != "env") {
        return true;
    }
    // env's own options and variables come first; those that take a value take the next word.
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "-u" || word == "--unset" || word == "-C" || word == "--chdir") {
            ++i;
        } else if (word.rfind("-S", 0) == 0 || word.rfind("--split-string", 0) == 0) {
            return true;  // a command line of its own, which only a shell could take apart
        } else if (word.empty() || (word.front() != '-' && word.find('=') == std::string::npos)) {
            // As GIO looks for the first word: on PATH, or a path that is an executable file.
            const StringPtr found(g_find_program_in_path(word.c_str()));
            return found != nullptr;
        }
    }
    return false;  // env alone only lists the environment
}

IconReference ContentTypeIcon(const std::string& contentType) {
    const ObjectPtr<GIcon> icon(g_content_type_get_icon(contentType.c_str()));
    return Reference(icon.get());
}

std::string GuessContentType(const std::filesystem::path& file, std::string_view head) {
    const StringPtr type(g_content_type_guess(file.filename().c_str(), reinterpret_cast<const guchar*>(head.data()),
                                              head.size(), nullptr));
    return type.get();
}

ContentType ContentTypeOf(const std::filesystem::path& path) {
    const ObjectPtr<GFile> file(g_file_new_for_path(path.c_str()));
    GError* error = nullptr;
    const ObjectPtr<GFileInfo> info(
        g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE, G_FILE_QUERY_INFO_NONE, nullptr, &error));
    if (!info) {
        return {{}, LaunchFailure(error)};
    }
    const char* type = g_file_info_get_content_type(info.get());
    return type == nullptr ? ContentType{{}, kShellNoAssociation} : ContentType{type, 0};
}

bool IsText(const std::string& contentType) {
    return g_content_type_is_a(contentType.c_str(), "text/plain");
}

}  // namespace nagitori::posix
