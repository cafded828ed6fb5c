#include <QAbstractButton>
#include <QCoreApplication>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <map>

#include "app/MainFormFixture.h"
#include "app/OptionsPage.h"
#include "launcher/LauncherDialog.h"
#include "launcher/LauncherToolEditDialog.h"
#include "runfile/ExecuteFileRunDialog.h"
#include "settings/SettingDialog.h"
#include "settings/SettingsPath.h"
#include "support/TextFit.h"
#include "system/VersionInformationDialog.h"
#include "tools/Catalogue.h"
#include "tools/ToolPages.h"

namespace nagitori::test {
namespace {

using EveryWindow = MainFormFixture;

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

// Access keys that two visible controls of the window carry: Qt would only move the focus between them.
QStringList SharedAccessKeys(const QWidget& window) {
    std::map<QKeySequence, QStringList> owners;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        QString caption;
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            caption = button->text();
        } else if (const auto* label = qobject_cast<const QLabel*>(widget); label != nullptr && label->buddy()) {
            caption = label->text();
        } else if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
            caption = box->title();
        }
        const QKeySequence key = QKeySequence::mnemonic(caption);
        if (widget->isVisibleTo(&window) && !key.isEmpty()) {
            owners[key].push_back(caption);
        }
    }
    QStringList findings;
    for (const auto& [key, captions] : owners) {
        if (captions.size() > 1) {
            findings.push_back(key.toString() + QStringLiteral(": ") + captions.join(QStringLiteral(", ")));
        }
    }
    return findings;
}

TEST(SharedAccessKeys, FindsTwoVisibleControlsWithOneKey) {
    QWidget window;
    new QPushButton(QStringLiteral("設定(&S)"), &window);
    auto* label = new QLabel(QStringLiteral("サイズ(&S):"), &window);
    EXPECT_TRUE(SharedAccessKeys(window).isEmpty());  // a label without a field has no key
    label->setBuddy(new QPushButton(QStringLiteral("..."), &window));
    EXPECT_EQ(SharedAccessKeys(window), QStringList{QStringLiteral("Alt+S: 設定(&S), サイズ(&S):")});
    label->hide();
    EXPECT_TRUE(SharedAccessKeys(window).isEmpty());
}

void Inspect(const QWidget& window) {
    EXPECT_TRUE(ClippedTexts(window).isEmpty()) << Findings(ClippedTexts(window));
    EXPECT_TRUE(SharedAccessKeys(window).isEmpty()) << Findings(SharedAccessKeys(window));
}

// Every page of every window, as the user meets it.
TEST_F(EveryWindow, ShowsItsTextsWholeAndEachAccessKeyOnce) {
    std::filesystem::create_directory(DataFolder());
    WriteFileBytes(LauncherDataPath(system.appData),
                   "[Application_1]\nName=メモ帳\nFilePath=/usr/bin/gedit\n[Application_2]\nName=端末\n"
                   "FilePath=/usr/bin/xterm\nWindowSize=2\nAnAdminAdd=1\n");
    // Every button with an icon, as on a desktop that has a program for each: the captions fit beside it.
    const IconReference icon{{}, ":/nagitori.svg"};
    for (const std::string& command : BuildToolRunCommand()) {
        system.standIns[command] = {command, {}, icon};
    }
    system.icons = {{"/usr/bin/gedit", icon}, {"/usr/bin/xterm", icon}};
    TMainForm& main = Create();
    main.IconsReading();
    ASSERT_TRUE(QTest::qWaitFor([&main] { return !main.IconsPending(); }));
    ASSERT_FALSE(main.Tools->Button(30)->icon().isNull());
    main.show();
    // A platform theme applies its settings once the event loop runs.
    QCoreApplication::processEvents();
    for (int entry = 0; entry < main.Item->count(); ++entry) {
        SCOPED_TRACE(main.Item->item(entry)->text().toStdString());
        main.Item->setCurrentRow(entry);
        Inspect(main);
    }
    // Registered, the options page shows its other caption.
    main.Page5->SetStartupCaption(true);
    Inspect(main);

    TSetting setting(system, desktop, &main,
                     SettingDialogHost{main.Startup, [](bool) {}, [] {}, *main.N4, *main.N5, {}});
    setting.show();
    for (int page = 0; page < setting.PageControl1->count(); ++page) {
        SCOPED_TRACE(setting.PageControl1->tabText(page).toStdString());
        setting.PageControl1->setCurrentIndex(page);
        Inspect(setting);
    }
    setting.hide();

    TLauncher launcher(system, desktop, &main);
    ASSERT_TRUE(QTest::qWaitFor([&launcher] { return !launcher.IconsPending(); }));
    launcher.show();
    launcher.LauncherList->setCurrentRow(1);
    Inspect(launcher);
    TLauncherToolEdit toolEdit(system, desktop, &launcher);
    toolEdit.show();
    Inspect(toolEdit);
    toolEdit.hide();
    launcher.hide();

    TExecuteFileRun runFile(system, desktop, &main);
    runFile.show();
    Inspect(runFile);
    runFile.hide();

    TVersionInformation version(system, desktop, &main);
    version.show();
    Inspect(version);
}

}  // namespace
}  // namespace nagitori::test
