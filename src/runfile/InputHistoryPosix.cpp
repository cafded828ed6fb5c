#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <thread>

#include "common/Error.h"
#include "runfile/HistoryFileAccess.h"

namespace nagitori::history {
namespace {

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

std::optional<std::string> ReadLocked(const std::filesystem::path& path, std::chrono::milliseconds lockTimeout) {
    const Descriptor file(::open(path.c_str(), O_RDONLY | kOpenFlags));
    if (file.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return std::nullopt;
        }
        Fail<Error>("Cannot open file", path, ErrnoText(errno));
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        Fail<Error>("Cannot read file", path, ErrnoText(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    // Shared: other readers may read along, but no copy appends while this one reads.
    if (const int error = Lock(file.Get(), LOCK_SH, lockTimeout); error != 0) {
        Fail<Error>("Cannot lock file", path, LockFailureText(error));
    }
    std::string content;
    if (const int error = ReadToEnd(file.Get(), content); error != 0) {
        Fail<Error>("Cannot read file", path, ErrnoText(error));
    }
    return content;
}

void AppendLocked(const std::filesystem::path& path, const std::string& entry, std::chrono::milliseconds lockTimeout) {
    // The scan and the append happen under one lock, so no other copy can add the same entry between.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const Descriptor file(::open(path.c_str(), O_RDWR | O_APPEND | kOpenFlags));
        if (file.Get() >= 0) {
            AppendIfAbsent(file, path, entry, false, lockTimeout);
            return;
        }
        if (errno != ENOENT) {
            Fail<WriteError>("Cannot open file", path, ErrnoText(errno));
        }
        const int linkError = CreateHoldingEntry(path, entry);
        if (linkError == 0) {
            return;
        }
        if (linkError != EEXIST) {
            break;
        }
    }
    // No hard links on this file system, or the name exists yet does not open (a link to nothing):
    // create the file in place.
    const Descriptor file(::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | kOpenFlags, 0600));
    if (file.Get() < 0) {
        Fail<WriteError>("Cannot create file", path, ErrnoText(errno));
    }
    AppendIfAbsent(file, path, entry, true, lockTimeout);
}

void RemoveFile(const std::filesystem::path& path) {
    ::unlink(path.c_str());
}

}  // namespace nagitori::history
