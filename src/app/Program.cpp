#include "app/Program.h"

#include <QApplication>

#include "app/Application.h"
#ifdef _WIN32
#include "platform/win32/Win32System.h"
#else
#include "platform/posix/PosixSystem.h"
#endif
#include "platform/qt/ApplicationSetup.h"
#include "platform/qt/DisplayPlatform.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/ResponsiveWait.h"

int NagitoriRunProgram(int argc, char** argv, nagitori::InstanceClaim& claim) {
    nagitori::ChooseDisplayPlatform(argc, argv);
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
