#include "platform/posix/FileIcon.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <optional>
#include <string>

#include "common/PosixFile.h"
#include "platform/posix/GioLaunch.h"

namespace nagitori::posix {

namespace {

// Desktop files hold a few kilobytes; a bigger one is no entry a desktop would start.
constexpr std::size_t kMaxEntryBytes = 1024 * 1024;
// As much of a file as GIO's own content sniffing looks at.
constexpr std::size_t kSniffBytes = 4096;

// The content type of what is not a regular file, from its kind alone; null for a kind without one.
const char* KindContentType(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "inode/directory";
    }
    if (S_ISFIFO(mode)) {
        return "inode/fifo";
    }
    if (S_ISSOCK(mode)) {
        return "inode/socket";
    }
    if (S_ISCHR(mode)) {
        return "inode/chardevice";
    }
    if (S_ISBLK(mode)) {
        return "inode/blockdevice";
    }
    return nullptr;
}

// Up to `limit` bytes from the start of the file; what could be read when a read fails.
std::string Head(int fd, std::size_t limit) {
    std::string head(limit, '\0');
    std::size_t used = 0;
    while (used < limit) {
        const ssize_t count = ::pread(fd, head.data() + used, limit - used, static_cast<off_t>(used));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        used += static_cast<std::size_t>(count);
    }
    head.resize(used);
    return head;
}

std::optional<DesktopApp> EntryApplication(int fd) {
    std::string text;
    if (posix_file::ReadAtMost(fd, kMaxEntryBytes, text) != 0) {
        return std::nullopt;
    }
    return DesktopApp::FromEntryText(text);
}

}  // namespace

IconReference FileIcon(const std::filesystem::path& file) {
    posix_file::Descriptor descriptor(-1);
    struct stat status {};
    const int error = posix_file::OpenRegular(file, descriptor, status);
    if (error == EISDIR || error == EINVAL) {
        const char* type = KindContentType(status.st_mode);
        return type == nullptr ? IconReference() : ContentTypeIcon(type);
    }
    if (error != 0) {
        return {};
    }
    std::optional<DesktopApp> application;
    if (file.extension() == ".desktop") {
        application = EntryApplication(descriptor.Get());
    } else if (::access(file.c_str(), X_OK) == 0) {
        application = DesktopApp::RunningProgram(file);
    }
    if (application) {
        return application->Icon();
    }
    return ContentTypeIcon(GuessContentType(file, Head(descriptor.Get(), kSniffBytes)));
}

}  // namespace nagitori::posix
