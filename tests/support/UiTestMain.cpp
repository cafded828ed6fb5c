#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/ApplicationSetup.h"

int main(int argc, char** argv) {
    // Windows are rendered offscreen unless the caller asks for a real display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    nagitori::SetUpApplication(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
