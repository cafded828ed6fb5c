#include "settings/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "common/Error.h"
#include "common/TemporarySibling.h"
#include "common/Utf8Path.h"

namespace nagitori {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    // Closes now, so that an error of the close itself can be reported.
    int Close() {
        int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

std::error_code LastError() {
    return std::error_code(errno, std::generic_category());
}

[[noreturn]] void ThrowWriteError(const std::filesystem::path& path, const std::error_code& error) {
    throw WriteError("ファイル「" + Utf8FromPath(path) + "」に書き込めませんでした（" + error.message() + "）。");
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::error_code& error) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0) {
        error = LastError();
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        error = LastError();
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        error = std::make_error_code(S_ISDIR(info.st_mode) ? std::errc::is_a_directory : std::errc::invalid_argument);
        return std::nullopt;
    }
    // One byte more than the size, so that an unchanged file is read by one call and ends at the next.
    std::string bytes(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        ssize_t got = ::read(file.Get(), bytes.data() + used, bytes.size() - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = LastError();
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    bytes.resize(used);
    error.clear();
    return bytes;
}

void ReplaceWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    struct stat old {};
    const bool hadOld = ::stat(path.c_str(), &old) == 0;

    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temporary = TemporarySibling(path);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt == 99)) {
            ThrowWriteError(path, LastError());
        }
    }

    FileDescriptor file(fd);
    auto fail = [&](std::error_code error) {
        if (file.Get() >= 0) {
            file.Close();
        }
        ::unlink(temporary.c_str());
        ThrowWriteError(path, error);
    };
    if (!WriteAll(file.Get(), bytes)) {
        fail(LastError());
    }
    if (hadOld) {
        if (::fchmod(file.Get(), old.st_mode & 0777) != 0) {
            fail(LastError());
        }
        // Keeps the owner when an administrator edits someone else's file; a plain user cannot, and the
        // content matters more than the owner, so a refusal is let pass.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] int ignored = ::fchown(file.Get(), old.st_uid, old.st_gid);
        }
    }
    if (::fsync(file.Get()) != 0) {
        fail(LastError());
    }
    if (file.Close() != 0) {
        fail(LastError());
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        fail(LastError());
    }
}

}  // namespace nagitori
