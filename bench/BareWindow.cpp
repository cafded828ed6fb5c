// The yardstick of the start-up probe: a bare Qt window with a menu bar, built with the same compiler against the
// same Qt as the program. Once its event loop runs with the window shown it writes one line to its output, which
// the probe reads where no X server tells it of the window. Its one argument, when given, is the menu's title in place
// of "File", so that the probe can also weigh a window whose text needs the desktop's CJK font.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(argc > 1 ? QString::fromUtf8(argv[1]) : QStringLiteral("File"));
    window.show();
    QTimer::singleShot(0, &app, [] {
        std::puts("shown");
        std::fflush(stdout);
    });
    return QApplication::exec();
}
