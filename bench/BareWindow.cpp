// The yardstick of the start-up probe: a bare Qt window with a menu bar, built with the same compiler against the
// same Qt as the program. Once its event loop runs with the window shown it writes one line to its output, which
// the probe reads where no X server tells it of the window. Its first argument, when given, is the menu's title in
// place of "File", so that the probe can also weigh a window whose text needs the desktop's CJK font; further
// arguments are shown as lines of text below the menu bar, so that it draws as many glyphs as the program does.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStringList>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(argc > 1 ? QString::fromUtf8(argv[1]) : QStringLiteral("File"));
    if (argc > 2) {
        QStringList lines;
        for (int i = 2; i < argc; ++i) {
            lines.push_back(QString::fromUtf8(argv[i]));
        }
        window.setCentralWidget(new QLabel(lines.join(QLatin1Char('\n'))));
    }
    window.show();
    QTimer::singleShot(0, &app, [] {
        std::puts("shown");
        std::fflush(stdout);
    });
    return QApplication::exec();
}
