#include <QApplication>

#include "app/Application.h"
#include "platform/posix/PosixSystem.h"
#include "platform/qt/ApplicationSetup.h"
#include "platform/qt/QtDesktop.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    nagitori::SetUpApplication(app);
    nagitori::posix::PosixSystem system(nagitori::posix::PosixEnvironment::FromProcess(),
                                        nagitori::posix::DefaultAppPaths());
    nagitori::QtDesktop desktop;
    return nagitori::RunApplication(system, desktop);
}
