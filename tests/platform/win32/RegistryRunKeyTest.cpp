#include "platform/win32/RegistryRunKey.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

#include "common/Error.h"
#include "platform/win32/Win32System.h"

namespace nagitori::win32 {
namespace {

// A scratch key of its own under the current user stands in for the machine's Run key.
class RegistryRunKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        subKey_ = L"Software\\NagitoriTest\\" + std::to_wstring(std::random_device()());
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, subKey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw_,
                                    nullptr),
                  ERROR_SUCCESS);
    }

    void TearDown() override {
        ::RegCloseKey(raw_);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, subKey_.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\NagitoriTest");  // only when no other test uses it
    }

    void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(::RegSetValueExW(raw_, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }

    std::wstring RawText(const wchar_t* name) {
        wchar_t data[512] = {};
        DWORD size = sizeof data;
        EXPECT_EQ(::RegGetValueW(raw_, nullptr, name, RRF_RT_REG_SZ, nullptr, data, &size), ERROR_SUCCESS);
        return data;
    }

    std::unique_ptr<RunKey> Open() { return OpenRegistryRunKey(HKEY_CURRENT_USER, subKey_); }

    std::wstring subKey_;
    HKEY raw_ = nullptr;
};

TEST_F(RegistryRunKeyTest, WrittenPathsReadBackAndAreStoredQuotedWhenTheyHoldABlank) {
    const std::unique_ptr<RunKey> key = Open();
    ASSERT_TRUE(key);
    const struct {
        std::string path;
        std::wstring stored;
    } cases[] = {
        // "C:\Program Files\ナギトリ\nagitori.exe"
        {"C:\\Program Files\\\xE3\x83\x8A\xE3\x82\xAE\xE3\x83\x88\xE3\x83\xAA\\nagitori.exe",
         L"\"C:\\Program Files\\\u30CA\u30AE\u30C8\u30EA\\nagitori.exe\""},
        {"C:\\Tools\\nagitori.exe", L"C:\\Tools\\nagitori.exe"},
    };
    for (const auto& c : cases) {
        key->WriteString("Nagitori", c.path);
        EXPECT_EQ(RawText(L"Nagitori"), c.stored);
        EXPECT_EQ(key->ReadString("Nagitori"), c.path);
    }
    key->DeleteValue("Nagitori");
    EXPECT_EQ(key->ReadString("Nagitori"), "");
    EXPECT_NO_THROW(key->DeleteValue("Nagitori"));
}

TEST_F(RegistryRunKeyTest, ReadsTextUpToTheFirstNulAndRefusesOtherTypes) {
    const wchar_t withNul[] = L"C:\\a.exe\0tail";
    SetRaw(L"WithNul", REG_SZ, withNul, sizeof withNul);
    const wchar_t unterminated[] = {L'C', L':', L'\\', L'b'};
    SetRaw(L"Unterminated", REG_SZ, unterminated, sizeof unterminated);
    const wchar_t expand[] = L"%ProgramFiles%\\n.exe";
    SetRaw(L"Expand", REG_EXPAND_SZ, expand, sizeof expand);
    SetRaw(L"Empty", REG_SZ, L"", sizeof(wchar_t));
    const DWORD number = 1;
    SetRaw(L"Nagitori", REG_DWORD, &number, sizeof number);

    const std::unique_ptr<RunKey> key = Open();
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ReadString("WithNul"), "C:\\a.exe");
    EXPECT_EQ(key->ReadString("Unterminated"), "C:\\b");
    EXPECT_EQ(key->ReadString("Expand"), "%ProgramFiles%\\n.exe");  // as stored, not expanded
    EXPECT_EQ(key->ReadString("Empty"), "");
    EXPECT_EQ(key->ReadString("Absent"), "");
    try {
        key->ReadString("Nagitori");
        ADD_FAILURE() << "a REG_DWORD value read as text";
    } catch (const Error& error) {
        EXPECT_EQ(error.what(), RunKeyWrongTypeMessage("Nagitori"));
    }
}

TEST_F(RegistryRunKeyTest, AMissingKeyDoesNotOpenAndIsNotCreated) {
    const std::wstring missing = subKey_ + L"\\Missing";
    EXPECT_EQ(OpenRegistryRunKey(HKEY_CURRENT_USER, missing), nullptr);
    HKEY probe = nullptr;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, missing.c_str(), 0, KEY_READ, &probe), ERROR_FILE_NOT_FOUND);
}

TEST(Win32RunKey, OpensTheMachineRunKeyExactlyWhenRunningAsAdministrator) {
    // Wine claims administrator rights; on Windows this follows the rights the tests run with.
    Win32System system;
    EXPECT_EQ(system.OpenRunKey() != nullptr, system.IsUserAnAdmin());
}

}  // namespace
}  // namespace nagitori::win32
