// Renders every window to PNG files offscreen, so they can be looked at without a display.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

#include "app/Main.h"
#include "platform/qt/ApplicationSetup.h"
#include "support/FakeDesktop.h"
#include "support/FakeSystem.h"
#include "support/TempDir.h"

namespace {

bool Save(QWidget& widget, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    nagitori::SetUpApplication(app);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }

    nagitori::test::TempDir dir;
    nagitori::test::FakeSystem system;
    system.appData = dir.Path();
    system.executable = dir / "nagitori";
    nagitori::test::FakeDesktop desktop;

    nagitori::TMainForm main(system, desktop);
    main.show();
    bool ok = true;
    for (int entry = 0; entry < main.Item->count(); ++entry) {
        main.Item->setCurrentRow(entry);
        ok = Save(main, folder, QStringLiteral("main-page%1").arg(entry + 1)) && ok;
    }
    return ok ? 0 : 1;
}
