#include "app/Application.h"

#include <QApplication>

#include "app/Main.h"

namespace nagitori {

int RunApplication(System& system, Desktop& desktop, SingleInstance& instance) {
    TMainForm mainForm(system, desktop);
    if (mainForm.TerminateRequested()) {
        return 0;
    }
    QObject::connect(&instance, &SingleInstance::Requested, &mainForm, [&mainForm] { BringForward(mainForm); });
    mainForm.show();
    return QApplication::exec();
}

}  // namespace nagitori
