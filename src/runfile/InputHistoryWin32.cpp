#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "common/Error.h"
#include "common/FileLimits.h"
#include "common/RetryWhileBusy.h"
#include "common/TemporarySibling.h"
#include "platform/win32/Win32Error.h"
#include "runfile/HistoryFileAccess.h"

namespace nagitori::history {
namespace {

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (Valid()) {
            ::CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

std::string ErrorText(DWORD error) {
    return win32::Win32ErrorText(error);
}

bool IsFolder(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Locks the whole file, waiting at most the timeout. Returns 0 or a Windows error; ERROR_LOCK_VIOLATION
// means the time ran out.
DWORD Lock(HANDLE file, DWORD flags, std::chrono::milliseconds timeout) {
    return RetryWhileBusy(
        [file, flags]() -> DWORD {
            OVERLAPPED whole{};
            if (::LockFileEx(file, flags | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole)) {
                return 0;
            }
            const DWORD error = ::GetLastError();
            return error == ERROR_IO_PENDING ? ERROR_LOCK_VIOLATION : error;
        },
        DWORD{ERROR_LOCK_VIOLATION}, timeout);
}

std::string LockFailureText(DWORD error) {
    return error == ERROR_LOCK_VIOLATION ? file_errors::kInUse : ErrorText(error);
}

std::string ReadFailureText(DWORD error) {
    return error == ERROR_FILE_TOO_LARGE ? file_errors::kTooLarge : ErrorText(error);
}

[[noreturn]] void FailWrite(const std::filesystem::path& path, const std::string& reason) {
    throw WriteError(file_errors::CannotWrite(path, reason));
}

// Reads from the current position to the end, at most kMaxDataFileBytes. Returns 0 or a Windows error,
// ERROR_FILE_TOO_LARGE above that.
DWORD ReadToEnd(HANDLE file, std::string& content) {
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file, &size) && static_cast<std::uintmax_t>(size.QuadPart) > kMaxDataFileBytes) {
        return ERROR_FILE_TOO_LARGE;
    }
    char buffer[65536];
    for (;;) {
        DWORD count = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &count, nullptr)) {
            return ::GetLastError();
        }
        if (count == 0) {
            return 0;
        }
        content.append(buffer, count);
        if (content.size() > kMaxDataFileBytes) {
            return ERROR_FILE_TOO_LARGE;
        }
    }
}

// Returns 0 or a Windows error.
DWORD WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD count = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &count, nullptr)) {
            return ::GetLastError();
        }
        if (count == 0) {
            return ERROR_WRITE_FAULT;
        }
        bytes.remove_prefix(count);
    }
    return 0;
}

// Gives a new history its first entry: the entry is written to a temporary file that is then moved to
// the history's name without replacing anything, so the file never shows up empty or half written, and
// of two copies creating it at once exactly one succeeds. Returns 0 when created, else the move's error.
DWORD CreateHoldingEntry(const std::filesystem::path& path, const std::string& entry) {
    const std::filesystem::path temporary = TemporarySibling(path);
    DWORD writeError = 0;
    {
        const Handle file(
            ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) {
            FailWrite(path, ErrorText(::GetLastError()));
        }
        writeError = WriteAll(file.Get(), entry);
    }
    DWORD moveError = 0;
    if (writeError == 0 && !::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
        moveError = ::GetLastError();
    }
    if (writeError != 0 || moveError != 0) {
        ::DeleteFileW(temporary.c_str());
    }
    if (writeError != 0) {
        FailWrite(path, ErrorText(writeError));
    }
    return moveError;
}

// Under an exclusive lock: scans the file for the entry and appends it when absent. A file opened for reading
// only (`writable` false) is scanned all the same, so that a read-only file that holds the entry is no error.
void AppendIfAbsent(HANDLE file, bool writable, const std::filesystem::path& path, const std::string& entry,
                    std::chrono::milliseconds lockTimeout) {
    if (const DWORD error = Lock(file, LOCKFILE_EXCLUSIVE_LOCK, lockTimeout); error != 0) {
        FailWrite(path, LockFailureText(error));
    }
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        FailWrite(path, file_errors::kNotRegularFile);
    }
    std::string content;
    if (const DWORD error = ReadToEnd(file, content); error != 0) {
        FailWrite(path, ReadFailureText(error));
    }
    std::vector<std::string> entries;
    if (!SplitEntries(content, entries)) {
        FailWrite(path, file_errors::kNotUtf8);
    }
    if (std::find(entries.begin(), entries.end(), entry) != entries.end()) {
        return;
    }
    if (!writable) {
        FailWrite(path, file_errors::kReadOnly);
    }
    std::string bytes;
    bytes.append(kLineBreak).append(entry);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(content.size());
    if (!::SetFilePointerEx(file, end, nullptr, FILE_BEGIN)) {
        FailWrite(path, ErrorText(::GetLastError()));
    }
    if (const DWORD error = WriteAll(file, bytes); error != 0) {
        // Leave no partial line behind; what was there before stays as it was.
        if (!::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !::SetEndOfFile(file)) {
            FailWrite(path, ErrorText(error) + "; 最後の行が途中で切れているおそれがあります");
        }
        FailWrite(path, ErrorText(error));
    }
}

}  // namespace

std::optional<std::string> ReadLocked(const std::filesystem::path& path, std::chrono::milliseconds lockTimeout) {
    if (IsFolder(path)) {
        return std::nullopt;
    }
    const Handle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return std::nullopt;
        }
        throw Error(file_errors::CannotRead(path, ErrorText(error)));
    }
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) {
        return std::nullopt;
    }
    // Shared: other readers may read along, but no copy appends while this one reads.
    if (const DWORD error = Lock(file.Get(), 0, lockTimeout); error != 0) {
        throw Error(file_errors::CannotRead(path, LockFailureText(error)));
    }
    std::string content;
    if (const DWORD error = ReadToEnd(file.Get(), content); error != 0) {
        throw Error(file_errors::CannotRead(path, ReadFailureText(error)));
    }
    return content;
}

void AppendLocked(const std::filesystem::path& path, const std::string& entry, std::chrono::milliseconds lockTimeout) {
    // The scan and the append happen under one lock, so no other copy can add the same entry between.
    DWORD error = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        // The read-only attribute binds an administrator too, even where the file system would let him write.
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
        const Handle file(readOnly ? INVALID_HANDLE_VALUE
                                   : ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Valid()) {
            AppendIfAbsent(file.Get(), true, path, entry, lockTimeout);
            return;
        }
        error = readOnly ? ERROR_ACCESS_DENIED : ::GetLastError();
        if (error == ERROR_ACCESS_DENIED && !IsFolder(path)) {
            const Handle readOnly(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (readOnly.Valid()) {
                AppendIfAbsent(readOnly.Get(), false, path, entry, lockTimeout);
                return;
            }
        }
        if (error != ERROR_FILE_NOT_FOUND) {
            FailWrite(path, ErrorText(error));
        }
        error = CreateHoldingEntry(path, entry);
        if (error == 0) {
            return;
        }
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            break;
        }
    }
    FailWrite(path, ErrorText(error));
}

void RemoveFile(const std::filesystem::path& path) {
    ::DeleteFileW(path.c_str());
}

}  // namespace nagitori::history
