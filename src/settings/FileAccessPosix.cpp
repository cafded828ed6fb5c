#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "common/Error.h"
#include "common/FileErrorText.h"
#include "common/PosixFile.h"
#include "common/TemporarySibling.h"
#include "settings/FileAccess.h"

namespace nagitori {
namespace {

using posix_file::Descriptor;

constexpr int kOpenFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
// A link put at the path after WriteTarget resolved it is not followed: the write fails instead.
constexpr int kRewriteOpenFlags = kOpenFlags | O_NOFOLLOW;

[[noreturn]] void ThrowWriteError(const std::filesystem::path& path, std::string_view reason) {
    throw WriteError(file_errors::CannotWrite(path, reason));
}

[[noreturn]] void ThrowWriteError(const std::filesystem::path& path, int error) {
    ThrowWriteError(path, std::generic_category().message(error));
}

// Puts the bytes in the place of the locked file `old`: written to a file without a name, linked in under the
// one replacement name and renamed over the file.
void ReplaceLocked(const std::filesystem::path& path, const struct stat& old, std::string_view bytes) {
    const std::filesystem::path temporary = ReplacementSibling(path);
    ::unlink(temporary.c_str());
    posix_file::PendingFile file(path, 0600);
    if (file.Error() != 0) {
        ThrowWriteError(path, file.Error());
    }
    if (const int error = posix_file::WriteAll(file.Get(), bytes); error != 0) {
        ThrowWriteError(path, error);
    }
    if (::fchmod(file.Get(), old.st_mode & 0777) != 0) {
        ThrowWriteError(path, errno);
    }
    // Keeps the owner when an administrator edits someone else's file; a plain user cannot, and the content
    // matters more than the owner, so a refusal is let pass.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
        [[maybe_unused]] int ignored = ::fchown(file.Get(), old.st_uid, old.st_gid);
    }
    if (::fsync(file.Get()) != 0) {
        ThrowWriteError(path, errno);
    }
    // The name and the rename follow each other at once, so that a crash between them is unlikely; what it
    // leaves under the replacement name goes with the next write.
    if (const int error = file.Link(temporary); error != 0) {
        ThrowWriteError(path, error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        ThrowWriteError(path, error);
    }
    // The content was flushed before: a late error of the close loses nothing.
    file.Close();
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

std::filesystem::path WriteTarget(const std::filesystem::path& path) {
    std::filesystem::path target;
    if (!posix_file::FollowLinks(path, target)) {
        ThrowWriteError(path, file_errors::kOtherUsersLink);
    }
    return target;
}

void DeleteUnlessProtected(const std::filesystem::path& path) {
    posix_file::RemoveUnlessProtected(path);
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::error_code& error) {
    const Descriptor file(::open(path.c_str(), kOpenFlags));
    if (file.Get() < 0) {
        error = std::error_code(errno, std::generic_category());
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        error = std::error_code(errno, std::generic_category());
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        error = std::make_error_code(S_ISDIR(info.st_mode) ? std::errc::is_a_directory : std::errc::invalid_argument);
        return std::nullopt;
    }
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxDataFileBytes) {
        error = std::make_error_code(std::errc::file_too_large);
        return std::nullopt;
    }
    std::string bytes;
    if (const int failure = posix_file::ReadAtMost(file.Get(), kMaxDataFileBytes, bytes); failure != 0) {
        error = std::error_code(failure, std::generic_category());
        return std::nullopt;
    }
    error.clear();
    return bytes;
}

void RewriteFile(const std::filesystem::path& path, const FileChange& change, std::chrono::milliseconds lockTimeout,
                 NewFileAccess newFile) {
    const auto deadline = std::chrono::steady_clock::now() + lockTimeout;
    auto remaining = [&deadline] {
        const auto left = deadline - std::chrono::steady_clock::now();
        return std::chrono::duration_cast<std::chrono::milliseconds>(left.count() > 0 ? left : left.zero());
    };
    // Another copy may replace or create the file between our open and our lock: then start again on the file
    // that now stands at the path.
    for (;;) {
        Descriptor file(::open(path.c_str(), kRewriteOpenFlags));
        if (file.Get() < 0) {
            if (errno != ENOENT) {
                ThrowWriteError(path, errno);
            }
            const std::optional<std::string> bytes = change(std::string());
            if (!bytes) {
                return;
            }
            const int error =
                posix_file::CreateHolding(path, *bytes, newFile == NewFileAccess::OwnerOnly ? 0600 : 0666);
            if (error == 0) {
                return;
            }
            if (error != EEXIST || remaining().count() == 0) {
                ThrowWriteError(path, error == EEXIST ? file_errors::kInUse : std::generic_category().message(error));
            }
            continue;
        }
        struct stat locked {};
        if (::fstat(file.Get(), &locked) != 0) {
            ThrowWriteError(path, errno);
        }
        if (!S_ISREG(locked.st_mode)) {
            ThrowWriteError(path, file_errors::kNotRegularFile);
        }
        if (const int error = posix_file::LockWithin(file.Get(), LOCK_EX, remaining()); error != 0) {
            ThrowWriteError(path, error == EWOULDBLOCK ? file_errors::kInUse : std::generic_category().message(error));
        }
        struct stat current {};
        if (::lstat(path.c_str(), &current) != 0 || !SameFile(current, locked) || ::fstat(file.Get(), &locked) != 0) {
            if (remaining().count() == 0) {
                ThrowWriteError(path, file_errors::kInUse);
            }
            continue;
        }
        if (static_cast<std::uintmax_t>(locked.st_size) > kMaxDataFileBytes) {
            ThrowWriteError(path, file_errors::kTooLarge);
        }
        std::string content;
        if (const int error = posix_file::ReadAtMost(file.Get(), kMaxDataFileBytes, content); error != 0) {
            ThrowWriteError(path, error == EFBIG ? file_errors::kTooLarge : std::generic_category().message(error));
        }
        const std::optional<std::string> bytes = change(content);
        if (!bytes) {
            return;
        }
        if (posix_file::IsWriteProtected(path, locked.st_mode)) {
            ThrowWriteError(path, file_errors::kReadOnly);
        }
        // The lock goes with the old file when the descriptor closes, after the new one took its place.
        ReplaceLocked(path, locked, *bytes);
        return;
    }
}

}  // namespace nagitori
