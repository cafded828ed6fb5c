// The yardstick of the start-up probe: a bare Qt window with a menu bar, built with the same compiler against the
// same Qt as the program. Once its event loop runs with the window shown it writes one line to its output, which
// the probe reads where no X server tells it of the window.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("File"));
    window.show();
    QTimer::singleShot(0, &app, [] {
        std::puts("shown");
        std::fflush(stdout);
    });
    return QApplication::exec();
}
