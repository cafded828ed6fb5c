#include "runfile/InputHistory.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#include "common/Error.h"

namespace nagitori {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineBreak = "\r\n";
// O_NONBLOCK keeps open() from waiting forever on a named pipe put where the file should be.
constexpr int kOpenFlags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return fd_; }

private:
    int fd_;
};

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

template <typename E>
[[noreturn]] void Fail(const char* action, const std::filesystem::path& path, const std::string& reason) {
    throw E(std::string(action) + " \"" + path.string() + "\": " + reason);
}

bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
            high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
        } else {
            return false;
        }
        if (text.size() - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            const unsigned char from = k == 1 ? low : 0x80;
            const unsigned char to = k == 1 ? high : 0xBF;
            if (next < from || next > to) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// Splits the file's text into its entries; false when the text is not UTF-8.
bool SplitEntries(std::string_view content, std::vector<std::string>& entries) {
    if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        content.remove_prefix(kByteOrderMark.size());
    }
    if (!IsUtf8(content)) {
        return false;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c != '\r' && c != '\n') {
            continue;
        }
        entries.emplace_back(content.substr(start, i - start));
        if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < content.size()) {
        entries.emplace_back(content.substr(start));
    }
    return true;
}

// Takes a flock in short steps: another copy holds it for a moment only, and a program that keeps it
// must make us fail rather than hang. Returns 0 or an errno value; EWOULDBLOCK means the time ran out.
int Lock(int fd, int operation, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::chrono::milliseconds pause{1};
    for (;;) {
        if (::flock(fd, operation | LOCK_NB) == 0) {
            return 0;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            return errno;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return EWOULDBLOCK;
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds{50});
    }
}

std::string LockFailureText(int error) {
    return error == EWOULDBLOCK ? "the file is in use by another program" : ErrnoText(error);
}

// Reads from the current offset to the end. Returns 0 or an errno value.
int ReadToEnd(int fd, std::string& content) {
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return errno;
        }
        if (count == 0) {
            return 0;
        }
        content.append(buffer, static_cast<std::size_t>(count));
    }
}

// Writes all bytes at the end of the file (the descriptor is O_APPEND). Returns 0 or an errno value.
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return errno;
        }
        if (count == 0) {
            return EIO;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return 0;
}

// Gives a new history its first entry: the entry is written to a temporary file that is then linked
// under the history's name, so the file never shows up empty or half written, and of two copies
// creating it at once exactly one succeeds. Returns 0 when created, else the errno of the link.
int CreateHoldingEntry(const std::filesystem::path& path, const std::string& entry) {
    std::string temporary = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    const Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.Get() < 0) {
        Fail<WriteError>("Cannot create file", path, ErrnoText(errno));
    }
    const int writeError = WriteAll(file.Get(), entry);
    int linkError = 0;
    if (writeError == 0 && ::link(temporary.c_str(), path.c_str()) != 0) {
        linkError = errno;
    }
    ::unlink(temporary.c_str());
    if (writeError != 0) {
        Fail<WriteError>("Cannot write file", path, ErrnoText(writeError));
    }
    return linkError;
}

// Under an exclusive lock: scans the file for the entry and appends it when absent. `created` tells
// that this call made the file, so that while still empty it takes the entry alone.
void AppendIfAbsent(const Descriptor& file, const std::filesystem::path& path, const std::string& entry, bool created,
                    std::chrono::milliseconds lockTimeout) {
    if (const int error = Lock(file.Get(), LOCK_EX, lockTimeout); error != 0) {
        Fail<WriteError>("Cannot lock file", path, LockFailureText(error));
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        Fail<WriteError>("Cannot read file", path, ErrnoText(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        Fail<WriteError>("Cannot write file", path, "it is not a regular file");
    }
    std::string content;
    if (const int error = ReadToEnd(file.Get(), content); error != 0) {
        Fail<WriteError>("Cannot read file", path, ErrnoText(error));
    }
    std::string bytes;
    if (created && content.empty()) {
        bytes = entry;
    } else {
        std::vector<std::string> entries;
        if (!SplitEntries(content, entries)) {
            Fail<WriteError>("Cannot read file", path, "it is not UTF-8 text");
        }
        if (std::find(entries.begin(), entries.end(), entry) != entries.end()) {
            return;
        }
        bytes.append(kLineBreak).append(entry);
    }
    if (::fstat(file.Get(), &status) != 0) {
        Fail<WriteError>("Cannot read file", path, ErrnoText(errno));
    }
    if (const int error = WriteAll(file.Get(), bytes); error != 0) {
        // Leave no partial line behind; what was there before stays as it was.
        if (::ftruncate(file.Get(), status.st_size) != 0) {
            Fail<WriteError>("Cannot write file", path, ErrnoText(error) + "; the file may end in a partial entry");
        }
        Fail<WriteError>("Cannot write file", path, ErrnoText(error));
    }
}

}  // namespace

InputHistory::InputHistory(std::filesystem::path path, std::chrono::milliseconds lockTimeout)
    : path_(std::move(path)), lockTimeout_(lockTimeout) {}

std::vector<std::string> InputHistory::Load() const {
    const Descriptor file(::open(path_.c_str(), O_RDONLY | kOpenFlags));
    if (file.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return {};
        }
        Fail<Error>("Cannot open file", path_, ErrnoText(errno));
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        Fail<Error>("Cannot read file", path_, ErrnoText(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        return {};
    }
    // Shared: other readers may read along, but no copy appends while this one reads.
    if (const int error = Lock(file.Get(), LOCK_SH, lockTimeout_); error != 0) {
        Fail<Error>("Cannot lock file", path_, LockFailureText(error));
    }
    std::string content;
    if (const int error = ReadToEnd(file.Get(), content); error != 0) {
        Fail<Error>("Cannot read file", path_, ErrnoText(error));
    }
    std::vector<std::string> entries;
    if (!SplitEntries(content, entries)) {
        Fail<Error>("Cannot read file", path_, "it is not UTF-8 text");
    }
    return entries;
}

void InputHistory::Add(const std::string& entry) const {
    if (entry.empty()) {
        return;
    }
    if (entry.find_first_of(kLineBreak) != std::string::npos) {
        Fail<WriteError>("Cannot write file", path_, "the entry holds a line break");
    }
    if (!IsUtf8(entry)) {
        Fail<WriteError>("Cannot write file", path_, "the entry is not UTF-8 text");
    }
    // The scan and the append happen under one lock, so no other copy can add the same entry between.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const Descriptor file(::open(path_.c_str(), O_RDWR | O_APPEND | kOpenFlags));
        if (file.Get() >= 0) {
            AppendIfAbsent(file, path_, entry, false, lockTimeout_);
            return;
        }
        if (errno != ENOENT) {
            Fail<WriteError>("Cannot open file", path_, ErrnoText(errno));
        }
        const int linkError = CreateHoldingEntry(path_, entry);
        if (linkError == 0) {
            return;
        }
        if (linkError != EEXIST) {
            break;
        }
    }
    // No hard links on this file system, or the name exists yet does not open (a link to nothing):
    // create the file in place.
    const Descriptor file(::open(path_.c_str(), O_RDWR | O_APPEND | O_CREAT | kOpenFlags, 0600));
    if (file.Get() < 0) {
        Fail<WriteError>("Cannot create file", path_, ErrnoText(errno));
    }
    AppendIfAbsent(file, path_, entry, true, lockTimeout_);
}

void InputHistory::Delete() const {
    ::unlink(path_.c_str());
}

}  // namespace nagitori
