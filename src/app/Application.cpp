#include "app/Application.h"

#include <QApplication>

#include "app/BringForward.h"
#include "app/Main.h"
#include "app/SingleInstance.h"

namespace nagitori {

int RunApplication(System& system, Desktop& desktop, InstanceClaim& claim) {
    TMainForm mainForm(system, desktop);
    if (mainForm.TerminateRequested()) {
        return 0;
    }
    mainForm.show();
    SingleInstance instance(claim);
    QObject::connect(&instance, &SingleInstance::Requested, &mainForm,
                     [&mainForm](const ActivationContext& context) { BringForward(mainForm, context); });
    return QApplication::exec();
}

}  // namespace nagitori
