#include "app/Application.h"

#include <QApplication>
#include <QTimer>

#include "app/Main.h"
#include "app/SummonKeyBindings.h"
#include "settings/SettingKeys.h"

namespace nagitori {

int RunApplication(System& system, Desktop& desktop, SingleInstance& instance) {
    TMainForm mainForm(system, desktop);
    if (mainForm.TerminateRequested()) {
        return 0;
    }
    QObject::connect(&instance, &SingleInstance::Requested, &mainForm, [&mainForm] { BringForward(mainForm); });
    // A press that reaches this copy directly comes forward the same way as a second start.
    const std::unique_ptr<SummonKey> summonKey =
        DesktopSummonKey(system, desktop, mainForm, [&mainForm](std::uint32_t) { BringForward(mainForm); });
    mainForm.ApplySummonKey = [&summonKey](const QString& key) { summonKey->Apply(key); };
    mainForm.show();
    // Once the event loop runs: the desktop's shortcut settings need not hold up the window.
    QTimer::singleShot(0, &mainForm, [&mainForm, &summonKey] {
        if (mainForm.SettingDataReader) {
            const std::string key = setting_keys::Read(*mainForm.SettingDataReader, setting_keys::kSummonKey);
            summonKey->Apply(QString::fromStdString(key), true);
        }
    });
    return QApplication::exec();
}

}  // namespace nagitori
