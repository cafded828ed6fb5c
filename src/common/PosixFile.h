#pragma once

#include <sys/stat.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// File system steps that the POSIX stores share. Each returns 0 or an errno value.
namespace nagitori::posix_file {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor();
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return fd_; }
    // Closes the descriptor held and takes this one.
    void Reset(int fd);
    // Closes now, so that an error of the close itself can be reported.
    int Close();

private:
    int fd_;
};

int WriteAll(int fd, std::string_view bytes);

// Reads from the current offset to the end; EFBIG when there are more than limit bytes.
int ReadAtMost(int fd, std::size_t limit, std::string& content);

// Opens the file at `path` for reading when it is a regular file, and never waits on what stands there: a folder,
// a FIFO or a device is not opened at all. 0, or an errno value: stat's own, EISDIR for a folder, EINVAL for any
// other kind of file. `status` tells what stands at the path whenever stat succeeded.
int OpenRegular(const std::filesystem::path& path, Descriptor& file, struct stat& status);

// Takes a flock (LOCK_SH or LOCK_EX), waiting at most the timeout; EWOULDBLOCK when the time ran out.
int LockWithin(int fd, int operation, std::chrono::milliseconds timeout);

// True when the file must not be changed: this process may not write it, or it has no write permission bit at
// all, which binds root too, as the read-only attribute binds administrators on Windows.
bool IsWriteProtected(const std::filesystem::path& path, unsigned mode);

// The file that a write to path reaches: the end of its chain of symbolic links, or the missing file that the
// last link names. False when root would have to follow a link that another user owns: that user could point it
// at any file root may change, so root follows only its own links.
bool FollowLinks(const std::filesystem::path& path, std::filesystem::path& target);

// Removes the file unless it is write-protected; every failure is passed over.
void RemoveUnlessProtected(const std::filesystem::path& path);

// A file being written in the folder of a target. Where the file system allows it, the file has no name until
// Link gives it one, so a crash before that leaves nothing behind; elsewhere it stands under a hidden name of
// its own that is removed again.
class PendingFile {
public:
    PendingFile(const std::filesystem::path& target, unsigned mode);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // 0 when the file could be made.
    int Error() const { return error_; }
    int Get() const { return file_.Get(); }
    // Gives the file the name, which must be free: EEXIST when it is taken.
    int Link(const std::filesystem::path& name);
    int Close() { return file_.Close(); }

private:
    Descriptor file_{-1};
    std::filesystem::path standIn_;
    int error_ = 0;
};

// Creates the file holding the bytes, whole or not at all; EEXIST when a file of that name exists.
int CreateHolding(const std::filesystem::path& path, std::string_view bytes, unsigned mode);

}  // namespace nagitori::posix_file
