#include "common/PosixFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>

#include "common/RetryWhileBusy.h"
#include "common/TemporarySibling.h"

namespace nagitori::posix_file {

Descriptor::~Descriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void Descriptor::Reset(int fd) {
    Close();
    fd_ = fd;
}

int Descriptor::Close() {
    if (fd_ < 0) {
        return 0;
    }
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
}

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

int ReadAtMost(int fd, std::size_t limit, std::string& content) {
    struct stat status {};
    const std::size_t start = content.size();
    // One byte more than the expected size, so that an unchanged file is read by one call and ends at the next.
    if (::fstat(fd, &status) == 0 && status.st_size >= 0 && static_cast<std::size_t>(status.st_size) <= limit) {
        content.resize(start + static_cast<std::size_t>(status.st_size) + 1);
    }
    std::size_t used = start;
    for (;;) {
        if (used == content.size()) {
            content.resize(start + std::min(limit + 1, std::max<std::size_t>(4096, (used - start) * 2)));
        }
        const ssize_t count = ::read(fd, content.data() + used, content.size() - used);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            const int error = errno;
            content.resize(start);
            return error;
        }
        used += static_cast<std::size_t>(count);
        if (used - start > limit) {
            content.resize(start);
            return EFBIG;
        }
        if (count == 0) {
            content.resize(used);
            return 0;
        }
    }
}

int OpenRegular(const std::filesystem::path& path, Descriptor& file, struct stat& status) {
    if (::stat(path.c_str(), &status) != 0) {
        return errno;
    }
    if (!S_ISREG(status.st_mode)) {
        return S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    }
    // O_NONBLOCK: should a FIFO take the file's place meanwhile, the open returns rather than wait for a writer.
    file.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0) {
        return errno;
    }
    if (::fstat(file.Get(), &status) != 0) {
        const int error = errno;
        file.Reset(-1);
        return error;
    }
    if (!S_ISREG(status.st_mode)) {
        file.Reset(-1);
        return S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    }
    return 0;
}

int LockWithin(int fd, int operation, std::chrono::milliseconds timeout) {
    return RetryWhileBusy(
        [fd, operation] {
            if (::flock(fd, operation | LOCK_NB) == 0) {
                return 0;
            }
            return errno == EINTR ? EWOULDBLOCK : errno;
        },
        EWOULDBLOCK, timeout);
}

bool IsWriteProtected(const std::filesystem::path& path, unsigned mode) {
    return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

bool FollowLinks(const std::filesystem::path& path, std::filesystem::path& target) {
    const bool root = ::geteuid() == 0;
    target = path;
    // A loop of links ends here, and opening what it leads to then fails.
    for (int depth = 0; depth < 40; ++depth) {
        struct stat link {};
        if (::lstat(target.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
            return true;
        }
        if (root && link.st_uid != 0) {
            return false;
        }
        std::error_code error;
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error) {
            return true;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return true;
}

void RemoveUnlessProtected(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && IsWriteProtected(path, status.st_mode)) {
        return;
    }
    ::unlink(path.c_str());
}

PendingFile::PendingFile(const std::filesystem::path& target, unsigned mode) {
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    file_.Reset(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    if (file_.Get() >= 0) {
        return;
    }
    // Older kernels answer EISDIR, file systems without unnamed files EOPNOTSUPP.
    if (errno != EOPNOTSUPP && errno != EISDIR) {
        error_ = errno;
        return;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        standIn_ = TemporarySibling(target);
        file_.Reset(::open(standIn_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (file_.Get() >= 0 || errno != EEXIST) {
            break;
        }
    }
    if (file_.Get() < 0) {
        error_ = errno;
        standIn_.clear();
    }
}

PendingFile::~PendingFile() {
    file_.Close();
    if (!standIn_.empty()) {
        ::unlink(standIn_.c_str());
    }
}

int PendingFile::Link(const std::filesystem::path& name) {
    if (!standIn_.empty()) {
        return ::link(standIn_.c_str(), name.c_str()) == 0 ? 0 : errno;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(file_.Get());
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

int CreateHolding(const std::filesystem::path& path, std::string_view bytes, unsigned mode) {
    PendingFile file(path, mode);
    if (file.Error() != 0) {
        return file.Error();
    }
    if (const int error = WriteAll(file.Get(), bytes); error != 0) {
        return error;
    }
    if (::fsync(file.Get()) != 0) {
        return errno;
    }
    return file.Link(path);
}

}  // namespace nagitori::posix_file
