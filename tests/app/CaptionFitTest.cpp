#include <QIcon>
#include <QPushButton>
#include <QTabWidget>

#include "app/MainFormFixture.h"
#include "app/OptionsPage.h"
#include "launcher/LauncherDialog.h"
#include "launcher/LauncherToolEditDialog.h"
#include "runfile/ExecuteFileRunDialog.h"
#include "settings/SettingDialog.h"
#include "settings/SettingsPath.h"
#include "support/TextFit.h"
#include "system/VersionInformationDialog.h"

namespace nagitori::test {
namespace {

using CaptionFit = MainFormFixture;

std::string Findings(const QStringList& findings) {
    return findings.join(u'\n').toStdString();
}

TEST(TextFit, FindsACaptionWiderThanItsButtonAndCountsTheIcon) {
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("ランチャーの管理(&L)"), &window);
    button->setObjectName(QStringLiteral("Probe"));
    button->setGeometry(0, 0, button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width() + 12, 33);
    EXPECT_TRUE(ClippedTexts(window).isEmpty()) << Findings(ClippedTexts(window));

    // The same caption beside a 16-pixel icon no longer fits.
    button->setIcon(QIcon(QStringLiteral(":/shield.svg")));
    button->setIconSize(QSize(16, 16));
    const QStringList withIcon = ClippedTexts(window);
    ASSERT_EQ(withIcon.size(), 1);
    EXPECT_TRUE(withIcon[0].contains(QStringLiteral("Probe"))) << Findings(withIcon);

    button->setIcon(QIcon());
    button->setText(QStringLiteral("IExpress（自己解凍ファイル作成ツール） (&A)、さらに長く"));
    EXPECT_EQ(ClippedTexts(window).size(), 1);
    button->hide();
    EXPECT_TRUE(ClippedTexts(window).isEmpty());
}

TEST_F(CaptionFit, EveryTextOfEveryWindowFits) {
    std::filesystem::create_directory(DataFolder());
    WriteFileBytes(LauncherDataPath(system.appData),
                   "[Application_1]\nName=メモ帳\nFilePath=/usr/bin/gedit\n[Application_2]\nName=端末\n"
                   "FilePath=/usr/bin/xterm\nWindowSize=2\nAnAdminAdd=1\n");
    TMainForm& main = Create();
    main.show();
    for (int entry = 0; entry < main.Item->count(); ++entry) {
        SCOPED_TRACE(main.Item->item(entry)->text().toStdString());
        main.Item->setCurrentRow(entry);
        EXPECT_TRUE(ClippedTexts(main).isEmpty()) << Findings(ClippedTexts(main));
    }
    // Registered, the options page shows its other caption.
    main.Page5->SetStartupCaption(true);
    EXPECT_TRUE(ClippedTexts(main).isEmpty()) << Findings(ClippedTexts(main));

    TSetting setting(system, desktop, &main, SettingDialogHost{main.Startup, [](bool) {}, [] {}, *main.N4, *main.N5});
    setting.show();
    for (int page = 0; page < setting.PageControl1->count(); ++page) {
        SCOPED_TRACE(setting.PageControl1->tabText(page).toStdString());
        setting.PageControl1->setCurrentIndex(page);
        EXPECT_TRUE(ClippedTexts(setting).isEmpty()) << Findings(ClippedTexts(setting));
    }
    setting.hide();

    TLauncher launcher(system, desktop, &main);
    launcher.show();
    launcher.LauncherList->setCurrentRow(1);
    EXPECT_TRUE(ClippedTexts(launcher).isEmpty()) << Findings(ClippedTexts(launcher));
    TLauncherToolEdit toolEdit(system, desktop, &launcher);
    toolEdit.show();
    EXPECT_TRUE(ClippedTexts(toolEdit).isEmpty()) << Findings(ClippedTexts(toolEdit));
    toolEdit.hide();
    launcher.hide();

    TExecuteFileRun runFile(system, desktop, &main);
    runFile.show();
    EXPECT_TRUE(ClippedTexts(runFile).isEmpty()) << Findings(ClippedTexts(runFile));
    runFile.hide();

    TVersionInformation version(system, desktop, &main);
    version.show();
    EXPECT_TRUE(ClippedTexts(version).isEmpty()) << Findings(ClippedTexts(version));
}

}  // namespace
}  // namespace nagitori::test
