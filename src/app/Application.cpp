#include "app/Application.h"

#include <QApplication>

#include "app/Main.h"

namespace nagitori {

int RunApplication(System& system, Desktop& desktop) {
    TMainForm mainForm(system, desktop);
    if (mainForm.TerminateRequested()) {
        return 0;
    }
    mainForm.show();
    return QApplication::exec();
}

}  // namespace nagitori
