#include "platform/posix/AutostartRunKey.h"

#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/Error.h"
#include "common/PosixFile.h"
#include "common/TemporarySibling.h"
#include "platform/posix/GLibOwners.h"

namespace nagitori::posix {

namespace {

constexpr char kGroup[] = "Desktop Entry";
constexpr char kEntryName[] = "ナギトリ";
constexpr std::string_view kDefaultConfigDir = "/etc/xdg";
constexpr unsigned kEntryMode = 0644;
// An autostart entry holds a few lines; anything bigger is no entry of ours.
constexpr std::size_t kMaxEntryBytes = 64 * 1024;

// Characters the Desktop Entry Exec key reserves: an argument holding one must be quoted.
constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";
// Characters that must be escaped inside a quoted Exec argument.
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

// The desktop entry file of a value, or nothing when the name cannot be a file name.
std::optional<std::filesystem::path> EntryFile(const std::filesystem::path& folder, const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos || name.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return folder / (name + ".desktop");
}

bool NeedsQuotes(const std::string& argument) {
    return argument.empty() || std::any_of(argument.begin(), argument.end(), [](char c) {
               const auto code = static_cast<unsigned char>(c);
               return kReservedInExec.find(c) != std::string_view::npos || code < 0x20 || code == 0x7F;
           });
}

// One argument as the Exec key holds it: quoted when it must be.
std::string ExecArgument(const std::string& argument) {
    const bool quote = NeedsQuotes(argument);
    std::string text = quote ? "\"" : "";
    for (const char c : argument) {
        if (quote && kEscapedInQuotes.find(c) != std::string_view::npos) {
            text += '\\';
        }
        text += c;
    }
    return quote ? text + '"' : text;
}

// The Exec value with its field codes expanded as the session does for a start without files: "%%" is a percent
// sign, every other code stands for nothing, and a lone "%" at the end stays as it is.
std::string ExpandFieldCodes(const std::string& exec) {
    std::string expanded;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        if (exec[i] != '%' || i + 1 == exec.size()) {
            expanded += exec[i];
        } else if (exec[++i] == '%') {
            expanded += '%';
        }
    }
    return expanded;
}

// The program an Exec value starts, or nothing when the value does not parse.
std::optional<std::string> ExecProgram(const std::string& exec) {
    gchar** argv = nullptr;
    if (!g_shell_parse_argv(ExpandFieldCodes(exec).c_str(), nullptr, &argv, nullptr)) {
        return std::nullopt;
    }
    std::string program = argv[0];
    g_strfreev(argv);
    return program;
}

// A string key of the entry group; nothing when it is missing or holds a bad escape sequence.
std::optional<std::string> StringKey(GKeyFile* file, const char* key) {
    GError* error = nullptr;
    // On a bad escape sequence GLib returns a value and an error at once.
    StringPtr value(g_key_file_get_string(file, kGroup, key, &error));
    if (error != nullptr) {
        g_error_free(error);
        return std::nullopt;
    }
    return std::string(value.get());
}

// Puts the bytes at the target whole or not at all. They are written to a file without a name, which a new entry
// takes directly; an existing one is replaced through the one replacement name, removed again should a crash have
// left it there.
bool ReplaceFile(const std::filesystem::path& target, const std::string& bytes) {
    const std::filesystem::path replacement = ReplacementSibling(target);
    ::unlink(replacement.c_str());
    posix_file::PendingFile file(target, kEntryMode);
    // Every user's session reads the machine-wide entry, whatever our umask.
    if (file.Error() != 0 || ::fchmod(file.Get(), kEntryMode) != 0 || posix_file::WriteAll(file.Get(), bytes) != 0 ||
        ::fsync(file.Get()) != 0) {
        return false;
    }
    const int error = file.Link(target);
    if (error != EEXIST) {
        return error == 0;
    }
    if (file.Link(replacement) != 0) {
        return false;
    }
    if (::rename(replacement.c_str(), target.c_str()) != 0) {
        ::unlink(replacement.c_str());
        return false;
    }
    return true;
}

// Whether the sessions can start the program from an entry: GIO and systemd's autostart refuse a path holding a
// percent sign however it is quoted, and a control character has no place on an Exec line.
bool StartableFromEntry(const std::string& program) {
    if (!g_utf8_validate_len(program.data(), program.size(), nullptr)) {
        return false;
    }
    for (const char* c = program.c_str(); c != program.c_str() + program.size(); c = g_utf8_next_char(c)) {
        if (*c == '%' || g_unichar_iscntrl(g_utf8_get_char(c))) {
            return false;
        }
    }
    return true;
}

// The entry's text, read without waiting on what stands at the path: a FIFO, a folder or an entry of more than
// kMaxEntryBytes is no entry. Nothing when the entry is missing.
std::optional<std::string> EntryText(const std::filesystem::path& path, const std::string& name) {
    posix_file::Descriptor file(-1);
    struct stat status {};
    int error = posix_file::OpenRegular(path, file, status);
    if (error == ENOENT || error == ENOTDIR) {
        return std::nullopt;
    }
    std::string text;
    if (error == 0) {
        error = posix_file::ReadAtMost(file.Get(), kMaxEntryBytes, text);
    }
    if (error != 0) {
        throw Error(RunKeyWrongTypeMessage(name));
    }
    return text;
}

class AutostartRunKey final : public RunKey {
public:
    explicit AutostartRunKey(std::filesystem::path folder) : folder_(std::move(folder)) {}

    std::string ReadString(const std::string& name) override {
        const std::optional<std::filesystem::path> path = EntryFile(folder_, name);
        const std::optional<std::string> text = path ? EntryText(*path, name) : std::nullopt;
        if (!text) {
            return {};
        }
        KeyFilePtr file(g_key_file_new());
        if (!g_key_file_load_from_data(file.get(), text->data(), text->size(), G_KEY_FILE_NONE, nullptr)) {
            throw Error(RunKeyWrongTypeMessage(name));
        }
        StringPtr startGroup(g_key_file_get_start_group(file.get()));
        if (!startGroup || std::string_view(startGroup.get()) != kGroup ||
            StringKey(file.get(), "Type") != "Application") {
            throw Error(RunKeyWrongTypeMessage(name));
        }
        const std::optional<std::string> exec = StringKey(file.get(), "Exec");
        // An empty command starts nothing, as an empty value registers nothing.
        if (exec && exec->empty()) {
            return {};
        }
        std::optional<std::string> program = exec ? ExecProgram(*exec) : std::nullopt;
        if (!program) {
            throw Error(RunKeyWrongTypeMessage(name));
        }
        return *program;
    }

    void WriteString(const std::string& name, const std::string& data) override {
        const std::optional<std::filesystem::path> path = EntryFile(folder_, name);
        if (!path || !StartableFromEntry(data)) {
            throw Error(RunKeyWriteFailedMessage(name));
        }
        // A read-only entry stays as it is, for root too.
        struct stat existing {};
        if (stat(path->c_str(), &existing) == 0 && posix_file::IsWriteProtected(*path, existing.st_mode)) {
            throw Error(RunKeyWriteFailedMessage(name));
        }
        KeyFilePtr file(g_key_file_new());
        g_key_file_set_string(file.get(), kGroup, "Type", "Application");
        g_key_file_set_string(file.get(), kGroup, "Name", kEntryName);
        g_key_file_set_string(file.get(), kGroup, "Exec", ExecArgument(data).c_str());
        gsize length = 0;
        StringPtr text(g_key_file_to_data(file.get(), &length, nullptr));
        if (!ReplaceFile(*path, std::string(text.get(), length))) {
            throw Error(RunKeyWriteFailedMessage(name));
        }
    }

    void DeleteValue(const std::string& name) override {
        const std::optional<std::filesystem::path> path = EntryFile(folder_, name);
        if (!path) {
            return;
        }
        // A value that is already gone is fine; one that stays must not be reported as removed.
        if (unlink(path->c_str()) != 0 && errno != ENOENT && errno != ENOTDIR) {
            throw Error(RunKeyWriteFailedMessage(name));
        }
        ::unlink(ReplacementSibling(*path).c_str());
    }

private:
    std::filesystem::path folder_;
};

}  // namespace

std::filesystem::path SystemAutostartFolder(const std::string& xdgConfigDirs) {
    std::string_view rest = xdgConfigDirs;
    // Relative and empty entries are invalid and skipped.
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view entry = rest.substr(0, colon);
        if (!entry.empty() && entry.front() == '/') {
            return std::filesystem::path(entry) / "autostart";
        }
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return std::filesystem::path(kDefaultConfigDir) / "autostart";
}

std::unique_ptr<RunKey> OpenAutostartRunKey(const std::filesystem::path& folder) {
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) || access(folder.c_str(), W_OK | X_OK) != 0) {
        return nullptr;
    }
    return std::make_unique<AutostartRunKey>(folder);
}

}  // namespace nagitori::posix
