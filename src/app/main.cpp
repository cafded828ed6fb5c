#include <QApplication>

#include "app/Application.h"
#ifdef _WIN32
#include "platform/win32/Win32System.h"
#else
#include "platform/posix/PosixSystem.h"
#endif
#include "platform/qt/ApplicationSetup.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/ResponsiveWait.h"

int main(int argc, char** argv) {
    // Before any GUI: a second start only hands over to the running copy.
    nagitori::InstanceClaim claim = nagitori::ClaimRunningCopy();
    if (claim.HandedOver()) {
        return 0;
    }
    QApplication app(argc, argv);
    nagitori::SetUpApplication(app);
#ifdef _WIN32
    nagitori::win32::Win32System system;
#else
    nagitori::posix::PosixSystem system(nagitori::posix::PosixEnvironment::FromProcess(),
                                        nagitori::posix::DefaultAppPaths(), {}, nagitori::WaitWithoutUserInput);
#endif
    nagitori::QtDesktop desktop;
    return nagitori::RunApplication(system, desktop, claim);
}
