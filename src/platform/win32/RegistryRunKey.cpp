#include "platform/win32/RegistryRunKey.h"

#include <windows.h>

#include <vector>

#include "common/Error.h"
#include "platform/win32/WideText.h"

namespace nagitori::win32 {
namespace {

constexpr wchar_t kQuote = L'"';

// Windows splits an unquoted command line at the first blank, and would start C:\Program.exe for
// C:\Program Files\..., so a path with a blank is stored quoted and read back without the quotes.
std::wstring QuotedWhenBlank(const std::wstring& data) {
    const bool quoted = data.size() >= 2 && data.front() == kQuote && data.back() == kQuote;
    if (quoted || data.find(L' ') == std::wstring::npos) {
        return data;
    }
    return kQuote + data + kQuote;
}

std::wstring Unquoted(std::wstring text) {
    if (text.size() >= 2 && text.front() == kQuote && text.back() == kQuote) {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

class RegistryRunKey final : public RunKey {
public:
    explicit RegistryRunKey(HKEY key) : key_(key) {}
    ~RegistryRunKey() override { ::RegCloseKey(key_); }
    RegistryRunKey(const RegistryRunKey&) = delete;
    RegistryRunKey& operator=(const RegistryRunKey&) = delete;

    std::string ReadString(const std::string& name) override {
        const std::wstring wideName = WideFromUtf8(name);
        // The value may grow between the size query and the read; ask again until it fits.
        for (;;) {
            DWORD type = 0;
            DWORD size = 0;
            LSTATUS status = ::RegQueryValueExW(key_, wideName.c_str(), nullptr, &type, nullptr, &size);
            if (status == ERROR_FILE_NOT_FOUND) {
                return {};
            }
            // A value that cannot be read is no usable text either; there is one message for both.
            if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
                throw Error(RunKeyWrongTypeMessage(name));
            }
            // Room for a terminator the stored data may lack, and for an odd byte count.
            std::vector<wchar_t> data(size / sizeof(wchar_t) + 2, L'\0');
            DWORD capacity = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
            status = ::RegQueryValueExW(key_, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                                        &capacity);
            if (status == ERROR_MORE_DATA) {
                continue;
            }
            if (status == ERROR_FILE_NOT_FOUND) {
                return {};
            }
            if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
                throw Error(RunKeyWrongTypeMessage(name));
            }
            // The text ends at the first NUL, whatever the stored size says.
            return Utf8FromWide(Unquoted(std::wstring(data.data())));
        }
    }

    void WriteString(const std::string& name, const std::string& data) override {
        const std::wstring text = QuotedWhenBlank(WideFromUtf8(data));
        const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        if (::RegSetValueExW(key_, WideFromUtf8(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             bytes) != ERROR_SUCCESS) {
            throw Error(RunKeyWriteFailedMessage(name));
        }
    }

    void DeleteValue(const std::string& name) override {
        // A value that is already gone is fine; one that stays must not be reported as removed.
        const LSTATUS status = ::RegDeleteValueW(key_, WideFromUtf8(name).c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
            throw Error(RunKeyWriteFailedMessage(name));
        }
    }

private:
    HKEY key_;
};

}  // namespace

std::unique_ptr<RunKey> OpenRegistryRunKey(HKEY__* root, const std::wstring& subKey) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<RegistryRunKey>(key);
}

}  // namespace nagitori::win32
