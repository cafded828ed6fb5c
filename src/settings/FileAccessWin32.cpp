#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <string>
#include <system_error>

#include "common/Error.h"
#include "common/FileErrorText.h"
#include "common/TemporarySibling.h"
#include "platform/win32/Win32Error.h"
#include "settings/FileAccess.h"

namespace nagitori {
namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // Closes now, so that an error of the close itself can be reported.
    bool Close() {
        if (!Valid()) {
            return true;
        }
        const bool closed = ::CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

[[noreturn]] void ThrowWriteError(const std::filesystem::path& path, std::string_view reason) {
    throw WriteError(file_errors::CannotWrite(path, reason));
}

[[noreturn]] void ThrowWriteError(const std::filesystem::path& path, DWORD error) {
    ThrowWriteError(path, win32::Win32ErrorText(error));
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

std::error_code ReadErrorCode(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME: return std::make_error_code(std::errc::no_such_file_or_directory);
        case ERROR_ACCESS_DENIED: return std::make_error_code(std::errc::permission_denied);
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return std::make_error_code(std::errc::device_or_resource_busy);
        default: return std::make_error_code(std::errc::io_error);
    }
}

// Reads an open file whole, at most kMaxDataFileBytes. Returns ERROR_FILE_TOO_LARGE above that.
DWORD ReadAll(HANDLE file, std::string& bytes) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size)) {
        return ::GetLastError();
    }
    if (static_cast<std::uintmax_t>(size.QuadPart) > kMaxDataFileBytes) {
        return ERROR_FILE_TOO_LARGE;
    }
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            return ::GetLastError();
        }
        if (got == 0) {
            return 0;
        }
        bytes.append(buffer, got);
        if (bytes.size() > kMaxDataFileBytes) {
            return ERROR_FILE_TOO_LARGE;
        }
    }
}

// A named mutex per file is the lock: it dies with a process that crashes while holding it, and reading needs
// no byte range of the file itself locked. Its name is derived from the full path, in one letter case, as
// Windows treats names.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& path) {
        std::error_code ignored;
        const std::filesystem::path full = std::filesystem::absolute(path, ignored);
        std::wstring name = full.empty() ? path.wstring() : full.wstring();
        ::CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
        std::uint64_t hash = 14695981039346656037ULL;
        for (const wchar_t c : name) {
            hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ULL;
        }
        wchar_t mutexName[64];
        std::swprintf(mutexName, 64, L"Local\\nagitori-file-%016llx", static_cast<unsigned long long>(hash));
        mutex_ = ::CreateMutexW(nullptr, FALSE, mutexName);
    }
    ~FileLock() {
        if (held_) {
            ::ReleaseMutex(mutex_);
        }
        if (mutex_ != nullptr) {
            ::CloseHandle(mutex_);
        }
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // 0, or ERROR_TIMEOUT when the time ran out, or the error of the mutex.
    DWORD Take(std::chrono::milliseconds timeout) {
        if (mutex_ == nullptr) {
            return ::GetLastError();
        }
        // An abandoned mutex was held by a copy that crashed: the file was replaced whole or not at all.
        const DWORD result = ::WaitForSingleObject(mutex_, static_cast<DWORD>(timeout.count()));
        held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
        return held_ ? 0 : result == WAIT_TIMEOUT ? ERROR_TIMEOUT : ::GetLastError();
    }

private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};

}  // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::error_code& error) {
    // A folder does not open as a file: tell it apart before the open fails with "access denied".
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error = std::make_error_code(std::errc::is_a_directory);
        return std::nullopt;
    }
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        error = ReadErrorCode(::GetLastError());
        return std::nullopt;
    }
    // A pipe or a device at the path would block or never end.
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) {
        error = std::make_error_code(std::errc::invalid_argument);
        return std::nullopt;
    }
    std::string bytes;
    if (const DWORD failure = ReadAll(file.Get(), bytes); failure != 0) {
        error =
            failure == ERROR_FILE_TOO_LARGE ? std::make_error_code(std::errc::file_too_large) : ReadErrorCode(failure);
        return std::nullopt;
    }
    error.clear();
    return bytes;
}

std::filesystem::path WriteTarget(const std::filesystem::path& path) {
    std::filesystem::path target = path;
    // A loop of links ends here and then fails to open.
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code error;
        if (!std::filesystem::is_symlink(target, error)) {
            break;
        }
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error) {
            break;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

void DeleteUnlessProtected(const std::filesystem::path& path) {
    // Refuses a read-only file and a folder by itself.
    ::DeleteFileW(path.c_str());
}

// Files here lie in the user's own profile; a new one takes the folder's permissions.
void RewriteFile(const std::filesystem::path& path, const FileChange& change, std::chrono::milliseconds lockTimeout,
                 NewFileAccess) {
    FileLock lock(path);
    if (const DWORD error = lock.Take(lockTimeout); error != 0) {
        ThrowWriteError(path, error == ERROR_TIMEOUT ? file_errors::kInUse : win32::Win32ErrorText(error));
    }
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ThrowWriteError(path, file_errors::kNotRegularFile);
    }
    std::string content;
    {
        FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        // A missing folder reads as a missing file too; whether a write can create it shows when it is tried.
        if (const DWORD error = ::GetLastError();
            !file.Valid() && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            ThrowWriteError(path, error);
        }
        if (file.Valid()) {
            if (::GetFileType(file.Get()) != FILE_TYPE_DISK) {
                ThrowWriteError(path, file_errors::kNotRegularFile);
            }
            if (const DWORD error = ReadAll(file.Get(), content); error != 0) {
                ThrowWriteError(path,
                                error == ERROR_FILE_TOO_LARGE ? file_errors::kTooLarge : win32::Win32ErrorText(error));
            }
        }
    }
    const std::optional<std::string> bytes = change(content);
    if (!bytes) {
        return;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        ThrowWriteError(path, file_errors::kReadOnly);
    }

    // Only the lock holder writes the replacement name: whatever stands there is left over from a crash.
    const std::filesystem::path temporary = ReplacementSibling(path);
    ::SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(temporary.c_str());
    FileHandle file(
        ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        ThrowWriteError(path, ::GetLastError());
    }
    auto fail = [&](DWORD error) {
        file.Close();
        ::DeleteFileW(temporary.c_str());
        ThrowWriteError(path, error);
    };
    if (!WriteAll(file.Get(), *bytes)) {
        fail(::GetLastError());
    }
    if (!::FlushFileBuffers(file.Get())) {
        fail(::GetLastError());
    }
    if (!file.Close()) {
        fail(::GetLastError());
    }
    // The old file's hidden or system mark stays with the name.
    const DWORD kept =
        attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if (kept != 0) {
        ::SetFileAttributesW(temporary.c_str(), kept);
    }
    if (!::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        fail(::GetLastError());
    }
}

}  // namespace nagitori
