#include "platform/win32/Win32System.h"

#include <windows.h>
// After windows.h, which these need.
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
// The API's macro would rename our override.
#undef ShellExecute

#include <string>

#include "platform/win32/RegistryRunKey.h"
#include "platform/win32/WideText.h"

namespace nagitori::win32 {
namespace {

// The shell may hand a launch to extensions that need COM on this thread. Qt has usually initialised it
// already; then this pairs one more reference with its release.
class ComForThisCall {
public:
    ComForThisCall()
        : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComForThisCall() {
        if (initialised_) {
            ::CoUninitialize();
        }
    }
    ComForThisCall(const ComForThisCall&) = delete;
    ComForThisCall& operator=(const ComForThisCall&) = delete;

private:
    bool initialised_;
};

}  // namespace

int Win32System::ShellExecute(const LaunchRequest& request) {
    const ComForThisCall com;
    const std::wstring verb = WideFromUtf8(request.verb);
    const std::wstring target = WideFromUtf8(request.target);
    const std::wstring parameters = WideFromUtf8(request.parameters);
    const std::wstring directory = WideFromUtf8(request.directory);
    // The result is an HINSTANCE only for old programs' sake; its value is the number the callers judge.
    const HINSTANCE result = ::ShellExecuteW(reinterpret_cast<HWND>(request.parent), verb.c_str(), target.c_str(),
                                             parameters.c_str(), directory.c_str(), request.showCommand);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

bool Win32System::IsUserAnAdmin() {
    return ::IsUserAnAdmin() != FALSE;
}

std::filesystem::path Win32System::AppDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        return {};
    }
    return std::filesystem::path(folder);
}

std::filesystem::path Win32System::ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        // A full buffer may hold a cut path: try again with more room.
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path);
        }
        path.resize(path.size() * 2);
    }
}

bool Win32System::MayWriteFolder(const std::filesystem::path& folder) {
    const std::filesystem::path probe = folder / (L".nagitori-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp");
    const HANDLE file =
        ::CreateFileW(probe.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::CloseHandle(file);
    return true;
}

int Win32System::OsMajorVersion() {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (ntdll == nullptr) {
        return 0;
    }
    // Through void (*)() because a FARPROC does not match the function's real type.
    const auto rtlGetVersion =
        reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void (*)()>(::GetProcAddress(ntdll, "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0) {
        return 0;
    }
    return static_cast<int>(info.dwMajorVersion);
}

std::unique_ptr<RunKey> Win32System::OpenRunKey() {
    return OpenRegistryRunKey(HKEY_LOCAL_MACHINE, kRunKeyPath);
}

}  // namespace nagitori::win32
