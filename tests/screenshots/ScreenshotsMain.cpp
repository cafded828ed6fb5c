// Renders every window to PNG files offscreen, so they can be looked at without a display.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTest>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Main.h"
#include "launcher/LauncherDialog.h"
#include "launcher/LauncherToolEditDialog.h"
#include "platform/qt/ApplicationSetup.h"
#include "runfile/ExecuteFileRunDialog.h"
#include "settings/SettingDialog.h"
#include "settings/SettingsPath.h"
#include "support/FakeDesktop.h"
#include "support/FakeSystem.h"
#include "support/TempDir.h"
#include "system/VersionInformationDialog.h"
#include "tools/Catalogue.h"

namespace {

bool Save(QWidget& widget, const QDir& folder, const QString& name) {
    // What the window shows once the event loop has run: a platform theme applies its settings only then.
    QCoreApplication::processEvents();
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
    // Every built-in button as on a desktop that has a program for each: a themed icon where the theme has one.
    const auto icon = [](const char* name) {
        return nagitori::IconReference{{name, "application-x-executable"}, ":/nagitori.svg"};
    };
    const std::vector<std::string> commands = nagitori::BuildToolRunCommand();
    for (const std::string& command : commands) {
        system.standIns[command] = {command, {}, icon("applications-system")};
    }
    system.icons = {{"/usr/bin/gedit", icon("accessories-text-editor")},
                    {"/usr/bin/xterm", icon("utilities-terminal")}};

    nagitori::TMainForm main(system, desktop);
    main.IconsReading();
    bool ok = QTest::qWaitFor([&main] { return !main.IconsPending(); });
    main.show();
    for (int entry = 0; entry < main.Item->count(); ++entry) {
        main.Item->setCurrentRow(entry);
        ok = Save(main, folder, QStringLiteral("main-page%1").arg(entry + 1)) && ok;
    }

    nagitori::TVersionInformation versionInformation(system, desktop, &main);
    versionInformation.show();
    ok = Save(versionInformation, folder, QStringLiteral("version-information")) && ok;
    versionInformation.hide();

    nagitori::TSetting setting(system, desktop, &main,
                               nagitori::SettingDialogHost{main.Startup, [](bool) {}, [] {}, *main.N4, *main.N5, {}});
    setting.show();
    for (int page = 0; page < setting.PageControl1->count(); ++page) {
        setting.PageControl1->setCurrentIndex(page);
        ok = Save(setting, folder, QStringLiteral("setting-page%1").arg(page + 1)) && ok;
    }
    setting.hide();

    nagitori::test::WriteFileBytes(nagitori::LauncherDataPath(system.appData),
                                   "[Application_1]\nName=メモ帳\nFilePath=/usr/bin/gedit\n"
                                   "CurrentDirectory=/home/user\n[Application_2]\nName=端末\n"
                                   "FilePath=/usr/bin/xterm\nCommandLine=-e top\nWindowSize=2\nAnAdminAdd=1\n");
    nagitori::TLauncher launcher(system, desktop, &main);
    ok = QTest::qWaitFor([&launcher] { return !launcher.IconsPending(); }) && ok;
    launcher.show();
    launcher.LauncherList->setCurrentRow(1);
    ok = Save(launcher, folder, QStringLiteral("launcher")) && ok;
    nagitori::TLauncherToolEdit toolEdit(system, desktop, &launcher);
    toolEdit.setWindowTitle(QString::fromUtf8(nagitori::tool_edit_texts::kEditCaption));
    toolEdit.Name->setText(QStringLiteral("メモ帳"));
    toolEdit.FilePath->setText(QStringLiteral("/usr/bin/gedit"));
    toolEdit.CurrentDirectory->setText(QStringLiteral("/home/user"));
    toolEdit.WindowSize->setCurrentIndex(1);
    toolEdit.show();
    ok = Save(toolEdit, folder, QStringLiteral("launcher-tool-edit")) && ok;
    toolEdit.hide();
    launcher.hide();

    {
        nagitori::TExecuteFileRun runFile(system, desktop, &main);
        runFile.show();
        ok = Save(runFile, folder, QStringLiteral("execute-file-run")) && ok;
    }
    return ok ? 0 : 1;
}
