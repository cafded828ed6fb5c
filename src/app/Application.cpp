#include "app/Application.h"

#include <QApplication>
#include <QTimer>

#include "app/BringForward.h"
#include "app/Main.h"
#include "app/SingleInstance.h"
#include "app/SummonKeyBindings.h"
#include "settings/SettingKeys.h"

namespace nagitori {

int RunApplication(System& system, Desktop& desktop, InstanceClaim& claim) {
    TMainForm mainForm(system, desktop);
    if (mainForm.TerminateRequested()) {
        return 0;
    }
    // A press that reaches this copy directly comes forward the same way as a second start, with the press's time.
    const std::unique_ptr<SummonKey> summonKey =
        DesktopSummonKey(system, desktop, mainForm, [&mainForm](std::uint32_t pressTime) {
            ActivationContext context;
            context.userTime = pressTime;
            BringForward(mainForm, context);
        });
    mainForm.ApplySummonKey = [&summonKey](const QString& key) { summonKey->Apply(key); };
    mainForm.show();
    SingleInstance instance(claim);
    QObject::connect(&instance, &SingleInstance::Requested, &mainForm,
                     [&mainForm](const ActivationContext& context) { BringForward(mainForm, context); });
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
