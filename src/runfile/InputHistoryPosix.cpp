#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "common/Error.h"
#include "common/FileLimits.h"
#include "common/PosixFile.h"
#include "runfile/HistoryFileAccess.h"

namespace nagitori::history {
namespace {

using posix_file::Descriptor;

// O_NONBLOCK keeps open() from waiting forever on a named pipe put where the file should be.
constexpr int kOpenFlags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
// Writes go to the end of the path's links, resolved beforehand; a link put there since is not followed.
constexpr int kWriteOpenFlags = kOpenFlags | O_NOFOLLOW;

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

std::string LockFailureText(int error) {
    return error == EWOULDBLOCK ? file_errors::kInUse : ErrnoText(error);
}

std::string ReadFailureText(int error) {
    return error == EFBIG ? file_errors::kTooLarge : ErrnoText(error);
}

[[noreturn]] void FailWrite(const std::filesystem::path& path, const std::string& reason) {
    throw WriteError(file_errors::CannotWrite(path, reason));
}

enum class Appended { Done, FileReplaced };

// Under an exclusive lock on `locked`, opened for reading only: scans the file for the entry and, when it is
// absent, opens the file for writing and appends it. `created` tells that this call made the file, so that
// while still empty it takes the entry alone.
Appended AppendIfAbsent(const Descriptor& locked, const std::filesystem::path& path, const std::string& entry,
                        bool created, std::chrono::milliseconds lockTimeout) {
    if (const int error = posix_file::LockWithin(locked.Get(), LOCK_EX, lockTimeout); error != 0) {
        FailWrite(path, LockFailureText(error));
    }
    struct stat status {};
    if (::fstat(locked.Get(), &status) != 0) {
        FailWrite(path, ErrnoText(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        FailWrite(path, file_errors::kNotRegularFile);
    }
    if (static_cast<std::uintmax_t>(status.st_size) > kMaxDataFileBytes) {
        FailWrite(path, file_errors::kTooLarge);
    }
    std::string content;
    if (const int error = posix_file::ReadAtMost(locked.Get(), kMaxDataFileBytes, content); error != 0) {
        FailWrite(path, ReadFailureText(error));
    }
    std::string bytes;
    if (created && content.empty()) {
        bytes = entry;
    } else {
        std::vector<std::string> entries;
        if (!SplitEntries(content, entries)) {
            FailWrite(path, file_errors::kNotUtf8);
        }
        if (std::find(entries.begin(), entries.end(), entry) != entries.end()) {
            return Appended::Done;
        }
        bytes.append(kLineBreak).append(entry);
    }
    if (posix_file::IsWriteProtected(path, status.st_mode)) {
        FailWrite(path, file_errors::kReadOnly);
    }
    const Descriptor writer(::open(path.c_str(), O_WRONLY | O_APPEND | kWriteOpenFlags));
    struct stat written {};
    if (writer.Get() < 0 || ::fstat(writer.Get(), &written) != 0) {
        FailWrite(path, ErrnoText(errno));
    }
    // Deleted and made anew since it was locked: the lock no longer guards what is at the path.
    if (written.st_dev != status.st_dev || written.st_ino != status.st_ino) {
        return Appended::FileReplaced;
    }
    if (const int error = posix_file::WriteAll(writer.Get(), bytes); error != 0) {
        // Leave no partial line behind; what was there before stays as it was.
        if (::ftruncate(writer.Get(), static_cast<off_t>(content.size())) != 0) {
            FailWrite(path, ErrnoText(error) + "; 最後の行が途中で切れているおそれがあります");
        }
        FailWrite(path, ErrnoText(error));
    }
    return Appended::Done;
}

}  // namespace

std::optional<std::string> ReadLocked(const std::filesystem::path& path, std::chrono::milliseconds lockTimeout) {
    const Descriptor file(::open(path.c_str(), O_RDONLY | kOpenFlags));
    if (file.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return std::nullopt;
        }
        throw Error(file_errors::CannotRead(path, ErrnoText(errno)));
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        throw Error(file_errors::CannotRead(path, ErrnoText(errno)));
    }
    if (!S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    if (static_cast<std::uintmax_t>(status.st_size) > kMaxDataFileBytes) {
        throw Error(file_errors::CannotRead(path, file_errors::kTooLarge));
    }
    // Shared: other readers may read along, but no copy appends while this one reads.
    if (const int error = posix_file::LockWithin(file.Get(), LOCK_SH, lockTimeout); error != 0) {
        throw Error(file_errors::CannotRead(path, LockFailureText(error)));
    }
    std::string content;
    if (const int error = posix_file::ReadAtMost(file.Get(), kMaxDataFileBytes, content); error != 0) {
        throw Error(file_errors::CannotRead(path, ReadFailureText(error)));
    }
    return content;
}

void AppendLocked(const std::filesystem::path& linkOrFile, const std::string& entry,
                  std::chrono::milliseconds lockTimeout) {
    std::filesystem::path path;
    if (!posix_file::FollowLinks(linkOrFile, path)) {
        FailWrite(linkOrFile, file_errors::kOtherUsersLink);
    }
    // The scan and the append happen under one lock, so no other copy can add the same entry between.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const Descriptor file(::open(path.c_str(), O_RDONLY | kWriteOpenFlags));
        if (file.Get() >= 0) {
            if (AppendIfAbsent(file, path, entry, false, lockTimeout) == Appended::Done) {
                return;
            }
            continue;
        }
        if (errno != ENOENT) {
            FailWrite(path, ErrnoText(errno));
        }
        // A new history is linked in holding its first entry, so it never shows up empty or half written, and
        // of two copies creating it at once exactly one succeeds.
        const int error = posix_file::CreateHolding(path, entry, 0600);
        if (error == 0) {
            return;
        }
        if (error == EPERM || error == EOPNOTSUPP) {
            break;
        }
        if (error != EEXIST) {
            FailWrite(path, ErrnoText(error));
        }
    }
    // No hard links on this file system, or the name keeps changing: create the file in place.
    const Descriptor file(::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | kWriteOpenFlags, 0600));
    if (file.Get() < 0) {
        FailWrite(path, ErrnoText(errno));
    }
    if (AppendIfAbsent(file, path, entry, true, lockTimeout) != Appended::Done) {
        FailWrite(path, file_errors::kInUse);
    }
}

void RemoveFile(const std::filesystem::path& path) {
    posix_file::RemoveUnlessProtected(path);
}

}  // namespace nagitori::history
