#include "system/StartupRegistration.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <optional>
#include <string>

#include "common/Error.h"
#include "support/FakeDesktop.h"
#include "support/FakeSystem.h"

namespace nagitori {
namespace {

using test::FakeDesktop;
using test::FakeSystem;

constexpr char kAskDelete[] = "”ナギトリ”をスタートアップから削除しますか?";
constexpr char kAskRegister[] = "”ナギトリ”をスタートアップに登録しますか?";
constexpr char kDeleted[] = "”ナギトリ”をスタートアップから削除しました。";
constexpr char kRegistered[] = "”ナギトリ”をスタートアップに登録しました。";

TEST(DetectStartup, RegisteredOnlyWithANonEmptyValueInAKeyThatOpens) {
    struct Case {
        const char* what;
        bool opens;
        std::optional<std::string> value;
        bool registered;
    };
    const Case cases[] = {
        {"key not opened", false, "/opt/nagitori/nagitori", false},
        {"no value", true, std::nullopt, false},
        {"empty value", true, "", false},
        {"value set", true, "/opt/nagitori/nagitori", true},
    };
    for (const Case& c : cases) {
        FakeSystem system;
        system.runKey.opens = c.opens;
        if (c.value) {
            system.runKey.values["Nagitori"] = *c.value;
        }
        EXPECT_EQ(DetectStartup(system), c.registered) << c.what;
    }
}

TEST(DetectStartup, ValueOfTheWrongTypeIsAnError) {
    FakeSystem system;
    system.runKey.wrongType.push_back("Nagitori");
    try {
        DetectStartup(system);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'Nagitori' のデータ型が不正です");
    }
}

TEST(StartupEntryOrDelete, AsksChangesAndConfirms) {
    struct Case {
        const char* what;
        bool registered;
        int answer;
        bool opens;
        bool writeFails;
        std::optional<std::string> before;
        std::optional<std::string> after;
        const char* confirmation;  // nullptr: no second box
        bool result;
        const char* error;  // nullptr: no error
    };
    const std::string exe = "/opt/ナギトリ dir/nagitori";
    const Case cases[] = {
        {"register", false, kIdOk, true, false, std::nullopt, exe, kRegistered, true, nullptr},
        {"register over an old value", false, kIdOk, true, false, "/old", exe, kRegistered, true, nullptr},
        {"remove", true, kIdOk, true, false, exe, std::nullopt, kDeleted, true, nullptr},
        {"remove a value already gone", true, kIdOk, true, false, std::nullopt, std::nullopt, kDeleted, true, nullptr},
        {"register cancelled", false, kIdCancel, true, false, std::nullopt, std::nullopt, nullptr, false, nullptr},
        {"remove cancelled", true, kIdCancel, true, false, exe, exe, nullptr, false, nullptr},
        {"register, key not opened", false, kIdOk, false, false, std::nullopt, std::nullopt, nullptr, false, nullptr},
        {"remove, key not opened", true, kIdOk, false, false, exe, exe, nullptr, false, nullptr},
        {"register, write fails", false, kIdOk, true, true, std::nullopt, std::nullopt, nullptr, false,
         "'Nagitori' の設定に失敗しました"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeSystem system;
        system.executable = exe;
        system.runKey.opens = c.opens;
        system.runKey.writeFails = c.writeFails;
        if (c.before) {
            system.runKey.values["Nagitori"] = *c.before;
        }
        FakeDesktop desktop;
        desktop.boxAnswers.push_back(c.answer);
        QWidget parent;

        bool result = false;
        std::string error;
        try {
            result = StartupEntryOrDelete(system, desktop, &parent, c.registered);
        } catch (const Error& e) {
            error = e.what();
        }

        EXPECT_EQ(error, c.error ? c.error : "");
        EXPECT_EQ(result, c.result);
        const auto value = system.runKey.values.find("Nagitori");
        EXPECT_EQ(value == system.runKey.values.end() ? std::nullopt : std::optional(value->second), c.after);
        ASSERT_EQ(desktop.boxes.size(), c.confirmation ? 2u : 1u);
        EXPECT_EQ(desktop.boxes[0].text, QString::fromUtf8(c.registered ? kAskDelete : kAskRegister));
        EXPECT_EQ(desktop.boxes[0].flags, 305u);
        EXPECT_EQ(desktop.boxes[0].parent, &parent);
        if (c.confirmation) {
            EXPECT_EQ(desktop.boxes[1].text, QString::fromUtf8(c.confirmation));
            EXPECT_EQ(desktop.boxes[1].flags, 0u);
            EXPECT_EQ(desktop.boxes[1].parent, &parent);
        }
    }
}

}  // namespace
}  // namespace nagitori
