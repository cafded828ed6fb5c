#include "settings/FileAccess.h"

#include <windows.h>


#include "common/Error.h"
#include "common/TemporarySibling.h"
#include "common/Utf8Path.h"
#include "platform/win32/Win32Error.h"

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

[[noreturn]] void ThrowWriteError(const std::filesystem::path& path, DWORD error) {
    throw WriteError("ファイル「" + Utf8FromPath(path) + "」に書き込めませんでした（" + win32::Win32ErrorText(error) +
                     "）。");
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
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
            error = ReadErrorCode(::GetLastError());
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer, got);
    }
    error.clear();
    return bytes;
}

void ReplaceWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path temporary;
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; handle == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = TemporarySibling(path);
        handle =
            ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = ::GetLastError();
        if (handle == INVALID_HANDLE_VALUE && (error != ERROR_FILE_EXISTS || attempt == 99)) {
            ThrowWriteError(path, error);
        }
    }

    FileHandle file(handle);
    auto fail = [&](DWORD error) {
        file.Close();
        ::DeleteFileW(temporary.c_str());
        ThrowWriteError(path, error);
    };
    if (!WriteAll(file.Get(), bytes)) {
        fail(::GetLastError());
    }
    if (!::FlushFileBuffers(file.Get())) {
        fail(::GetLastError());
    }
    if (!file.Close()) {
        fail(::GetLastError());
    }
    // The old file's hidden or system mark stays with the name.
    const DWORD old = ::GetFileAttributesW(path.c_str());
    const DWORD kept = old == INVALID_FILE_ATTRIBUTES ? 0 : old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if (kept != 0) {
        ::SetFileAttributesW(temporary.c_str(), kept);
    }
    if (!::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        fail(::GetLastError());
    }
}

}  // namespace nagitori
