#include <QCheckBox>
#include <QComboBox>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QPushButton>

#include "app/MainFormFixture.h"
#include "app/OptionsPage.h"
#include "launcher/LauncherPage.h"
#include "launcher/LauncherToolEditDialog.h"
#include "runfile/ExecuteFileRunDialog.h"

namespace nagitori::test {
namespace {

using MainFormDialogs = MainFormFixture;

QPushButton* ButtonOf(QDialog& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(QString::fromUtf8(name));
}

TEST_F(MainFormDialogs, MenuItemsAndOptionButtonsOpenTheSameDialogs) {
    TMainForm& main = Create();
    struct Case {
        QAction* item;
        QPushButton* button;
        const char* dialog;
    };
    const Case cases[] = {
        {main.N13, main.Page5->ExecuteFileRunDialogOpen, "ExecuteFileRun"},
        {main.N7, main.Page5->LauncherSettingDialogOpen, "Launcher"},
        {main.N8, main.Page5->SettingDialogOpen, "Setting"},
        {main.N12, main.Page5->VersionInformationDialogOpen, "VersionInformation"},
    };
    for (const Case& c : cases) {
        desktop.modalDialogs.clear();
        c.item->trigger();
        c.button->click();
        EXPECT_EQ(desktop.modalDialogs, std::vector<QString>(2, QString::fromUtf8(c.dialog)));
    }
    EXPECT_TRUE(system.launches.empty());
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(MainFormDialogs, HelpOpensTheReadmeBesideTheExecutable) {
    TMainForm& main = Create();
    main.N10->trigger();
    main.Page5->Help->click();
    ASSERT_EQ(system.launches.size(), 2u);
    for (const LaunchRequest& request : system.launches) {
        EXPECT_EQ(request.verb, "");
        EXPECT_EQ(request.target, (dir / "bin" / "readme.txt").string());
        EXPECT_EQ(request.parameters, "");
        EXPECT_EQ(request.directory, "");
        EXPECT_EQ(request.showCommand, 1);
    }
    system.shellResult = 2;
    main.N10->trigger();
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(MainFormDialogs, SettingsOkIsTakenOverByTheMainWindow) {
    WriteSettings("[ToolRunOption]\nGiveAdministrator=1\n[Start]\nWindowTopShow=1\n");
    TMainForm& main = Create();
    ASSERT_TRUE(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    desktop.modalScripts.push_back([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("CurrentDirectory"))->setText(QStringLiteral("/srv/作業"));
        dialog.findChild<QComboBox*>(QStringLiteral("WindowSize"))->setCurrentIndex(2);
        dialog.findChild<QCheckBox*>(QStringLiteral("Administrator"))->setChecked(false);
        dialog.findChild<QCheckBox*>(QStringLiteral("WindowTopShow"))->setChecked(false);
        ButtonOf(dialog, "OK")->click();
    });
    main.N8->trigger();
    EXPECT_EQ(main.CurrentDirectory, "/srv/作業");
    EXPECT_EQ(main.WindowSize, 2);
    EXPECT_FALSE(main.N4->isChecked());
    EXPECT_FALSE(main.N5->isChecked());
    EXPECT_FALSE(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    // Cancel changes nothing in the main window.
    desktop.modalScripts.push_back([](QDialog& dialog) {
        dialog.findChild<QComboBox*>(QStringLiteral("WindowSize"))->setCurrentIndex(0);
        ButtonOf(dialog, "Cancel")->click();
    });
    main.N8->trigger();
    EXPECT_EQ(main.WindowSize, 2);
}

TEST_F(MainFormDialogs, TheSummonKeyIsBoundAfterOkAndUnboundByAReset) {
    TMainForm& main = Create();
    std::vector<QString> applied;
    main.ApplySummonKey = [&applied](const QString& key) { applied.push_back(key); };
    auto setKey = [](QDialog& dialog, const char* key) {
        dialog.findChild<QKeySequenceEdit*>(QStringLiteral("SummonKey"))
            ->setKeySequence(QKeySequence::fromString(QString::fromUtf8(key), QKeySequence::PortableText));
    };

    desktop.modalScripts.push_back([&](QDialog& dialog) {
        setKey(dialog, "Ctrl+Alt+K");
        ButtonOf(dialog, "Cancel")->click();
    });
    main.N8->trigger();
    EXPECT_TRUE(applied.empty());

    desktop.modalScripts.push_back([&](QDialog& dialog) {
        setKey(dialog, "Ctrl+Alt+K");
        ButtonOf(dialog, "OK")->click();
    });
    main.N8->trigger();
    EXPECT_EQ(applied, std::vector<QString>{QStringLiteral("Ctrl+Alt+K")});

    // A reset unbinds at once, however the dialog then closes.
    for (const char* reset : {"SettingReset_Setting", "SettingReset_AllSetting"}) {
        applied.clear();
        desktop.boxAnswers.push_back(kIdYes);
        desktop.modalScripts.push_back([&](QDialog& dialog) {
            ButtonOf(dialog, reset)->click();
            ButtonOf(dialog, "Cancel")->click();
        });
        main.N8->trigger();
        EXPECT_EQ(applied, std::vector<QString>{QString()}) << reset;
    }
}

// An installed program's folder is not the user's: every window keeps the settings in the data folder instead.
TEST_F(MainFormDialogs, EveryWindowFindsTheSettingsInTheDataFolderWhenTheProgramsFolderIsNotTheUsers) {
    system.foldersWritable = false;
    const std::filesystem::path dataFile = DataFolder() / "nagitori.ini";
    TMainForm& main = Create();
    main.N5->trigger();
    EXPECT_EQ(ReadFileBytes(dataFile), "[Start]\nWindowTopShow=1\n");
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));

    EXPECT_TRUE(TExecuteFileRun(system, desktop, &main).windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(TLauncherToolEdit(system, desktop, &main).windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    bool shown = false;
    desktop.modalScripts.push_back([&shown](QDialog& dialog) {
        shown = dialog.findChild<QCheckBox*>(QStringLiteral("WindowTopShow"))->isChecked();
        ButtonOf(dialog, "SettingReset_Setting")->click();
        ButtonOf(dialog, "Cancel")->click();
    });
    main.N8->trigger();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(std::filesystem::exists(dataFile)) << "the reset deletes the file the windows use";
}

TEST_F(MainFormDialogs, LauncherManagementOkRefreshesTheButtons) {
    std::filesystem::create_directory(DataFolder());
    TMainForm& main = Create();
    ASSERT_FALSE(main.Launchers->Button(0)->isEnabled());
    WriteFileBytes(DataFolder() / "LauncherData.ini", "[Application_1]\nName=端末\nFilePath=/usr/bin/xterm\n");

    desktop.modalScripts.push_back([](QDialog& dialog) { ButtonOf(dialog, "Cancel")->click(); });
    main.N7->trigger();
    EXPECT_FALSE(main.Launchers->Button(0)->isEnabled());

    desktop.modalScripts.push_back([](QDialog& dialog) { ButtonOf(dialog, "OK")->click(); });
    main.N7->trigger();
    EXPECT_TRUE(main.Launchers->Button(0)->isEnabled());
    EXPECT_EQ(main.Launchers->Button(0)->text(), QStringLiteral("端末"));
}

TEST_F(MainFormDialogs, StartupEntryNeedsAdministratorRightsAndFlipsTheCaption) {
    TMainForm& main = Create();
    main.Page5->StartupEntry->click();
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, QStringLiteral("管理者権限が必要です。"));
    EXPECT_EQ(desktop.boxes[0].flags, 16u);
    EXPECT_TRUE(system.runKey.values.empty());

    system.admin = true;
    main.Page5->StartupEntry->click();
    EXPECT_TRUE(main.Startup);
    EXPECT_EQ(main.Page5->StartupEntry->text(), QStringLiteral("自動起動の解除"));
    EXPECT_EQ(system.runKey.values.at("Nagitori"), system.executable.string());

    desktop.boxAnswers.push_back(kIdCancel);
    main.Page5->StartupEntry->click();
    EXPECT_TRUE(main.Startup);

    // A failed write reaches the general error box and flips nothing.
    system.runKey.values.clear();
    main.Startup = false;
    main.Page5->SetStartupCaption(false);
    system.runKey.writeFails = true;
    desktop.boxes.clear();
    main.Page5->StartupEntry->click();
    ASSERT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(desktop.boxes[1].text, QStringLiteral("'Nagitori' の設定に失敗しました."));
    EXPECT_EQ(desktop.boxes[1].flags, 16u);
    EXPECT_FALSE(main.Startup);
    EXPECT_EQ(main.Page5->StartupEntry->text(), QStringLiteral("Windows起動時に自動起動"));
}

TEST_F(MainFormDialogs, StartupDetectionAtStart) {
    system.runKey.values["Nagitori"] = "/opt/nagitori";
    EXPECT_EQ(Create().Page5->StartupEntry->text(), QStringLiteral("自動起動の解除"));
    EXPECT_TRUE(form->Startup);

    system.runKey.opens = false;
    EXPECT_FALSE(Create().Startup);

    system.runKey.opens = true;
    system.runKey.values["Nagitori"] = "";
    EXPECT_FALSE(Create().Startup);
}

TEST_F(MainFormDialogs, AWrongRunValueTypeSkipsTheRestOfTheStart) {
    WriteSettings("[Start]\nRunShowTab=1\nWindowTopShow=1\n");
    system.runKey.wrongType.push_back("Nagitori");
    TMainForm& main = Create();
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, QStringLiteral("'Nagitori' のデータ型が不正です."));
    EXPECT_EQ(desktop.boxes[0].flags, 16u);
    // Read before the error: the toggles and the selection. Skipped after it: stacking, data folder, page.
    EXPECT_TRUE(main.N5->isChecked());
    EXPECT_EQ(main.Item->currentRow(), 1);
    EXPECT_FALSE(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(std::filesystem::exists(DataFolder()));
    EXPECT_EQ(main.ShownPage(), -1);
    // The window still works: picking an entry shows its page.
    main.Item->setCurrentRow(0);
    EXPECT_EQ(main.ShownPage(), 0);
}

}  // namespace
}  // namespace nagitori::test
