#include "system/StartupRegistration.h"

#include <QString>
#include <memory>

#include "common/Utf8Path.h"

namespace nagitori {

namespace {

constexpr char kAskDelete[] = "”ナギトリ”をスタートアップから削除しますか?";
constexpr char kAskRegister[] = "”ナギトリ”をスタートアップに登録しますか?";
constexpr char kDeleted[] = "”ナギトリ”をスタートアップから削除しました。";
constexpr char kRegistered[] = "”ナギトリ”をスタートアップに登録しました。";

}  // namespace

bool DetectStartup(System& system) {
    const std::unique_ptr<RunKey> key = system.OpenRunKey();
    return key && !key->ReadString(kStartupValueName).empty();
}

bool StartupEntryOrDelete(System& system, Desktop& desktop, QWidget* parent, bool registered) {
    const char* question = registered ? kAskDelete : kAskRegister;
    if (desktop.MessageBox(parent, QString::fromUtf8(question), mb::kOkCancel | mb::kIconWarning | mb::kDefButton2) !=
        kIdOk) {
        return false;
    }
    // Without the rights to change the list there is nothing to do and nothing to say.
    const std::unique_ptr<RunKey> key = system.OpenRunKey();
    if (!key) {
        return false;
    }
    if (registered) {
        key->DeleteValue(kStartupValueName);
    } else {
        key->WriteString(kStartupValueName, Utf8FromPath(system.ExecutablePath()));
    }
    desktop.MessageBox(parent, QString::fromUtf8(registered ? kDeleted : kRegistered), mb::kOk);
    return true;
}

}  // namespace nagitori
