#include <sys/stat.h>

#include <QSignalSpy>
#include <QTest>
#include <utility>
#include <vector>

#include "common/Messages.h"
#include "settings/ProfileFile.h"
#include "settings/SettingDialogFixture.h"

namespace nagitori::test {
namespace {

using SettingDialog = SettingDialogFixture;

// The ten values and the summon key as the dialog shows them, in the order of the settings file.
std::string Shown(const TSetting& d) {
    auto flag = [](const QCheckBox* box) { return box->isChecked() ? "1" : "0"; };
    return "CommandLine=" + d.CommandLine->text().toStdString() +
           " CurrentDirectory=" + d.CurrentDirectory->text().toStdString() +
           " WindowSize=" + std::to_string(d.WindowSize->currentIndex()) +
           " GiveAdministrator=" + flag(d.Administrator) + " RunAdministrator=" + flag(d.RunAdministrator) +
           " WindowTopShow=" + flag(d.WindowTopShow) + " RunShowTab=" + std::to_string(d.RunShowTab->ItemIndex()) +
           " Launcher_Name=" + std::to_string(d.Launcher_Name->currentIndex()) +
           " Launcher_CurrentDirectory=" + std::to_string(d.Launcher_CurrentDirectory->currentIndex()) +
           " ExecuteFileRun_CurrentDirectory=" + std::to_string(d.ExecuteFileRun_CurrentDirectory->currentIndex()) +
           " SummonKey=" + d.SummonKey->keySequence().toString(QKeySequence::PortableText).toStdString();
}

constexpr char kDefaults[] =
    "CommandLine= CurrentDirectory= WindowSize=1 GiveAdministrator=0 RunAdministrator=0 WindowTopShow=0 "
    "RunShowTab=0 Launcher_Name=1 Launcher_CurrentDirectory=1 ExecuteFileRun_CurrentDirectory=1 SummonKey=";

constexpr char kFreshFile[] =
    "[ToolRunOption]\n"
    "CommandLine=\n"
    "CurrentDirectory=\n"
    "WindowSize=1\n"
    "GiveAdministrator=0\n"
    "[Start]\n"
    "RunAdministrator=0\n"
    "WindowTopShow=0\n"
    "RunShowTab=0\n"
    "SummonKey=\n"
    "[AutoInput]\n"
    "Launcher_Name=1\n"
    "Launcher_CurrentDirectory=1\n"
    "ExecuteFileRun_CurrentDirectory=1\n";

ino_t Inode(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST_F(SettingDialog, WithoutAFileShowsTheDefaultsAndLeavesTheMainWindowAlone) {
    n4.setChecked(true);
    n5.setChecked(true);
    for (bool registered : {false, true}) {
        startup = registered;
        TSetting& d = Create();
        EXPECT_EQ(Shown(d), kDefaults);
        EXPECT_EQ(d.StartupEntry->isEnabled(), !registered);
        EXPECT_EQ(d.DeleteStartup->isEnabled(), registered);
    }
    EXPECT_TRUE(n4.isChecked());
    EXPECT_TRUE(n5.isChecked());
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
    EXPECT_EQ(dialog->SettingDataFileName, SettingsFile().string());
    EXPECT_EQ(dialog->LauncherDataFileName, LauncherFile().string());
    EXPECT_EQ(dialog->FilePathHistoryDataFileName, FileHistory().string());
    EXPECT_EQ(dialog->CurrentDirectoryHistoryDataFileName, DirectoryHistory().string());
}

TEST_F(SettingDialog, ValuesFromTheFileLandInTheControlsAndOkWritesWhatIsShown) {
    struct Case {
        const char* section;
        const char* line;
        std::string shown;    // the control's value in Shown's words
        const char* written;  // the key's text after OK
    };
    const Case cases[] = {
        {"ToolRunOption", "CommandLine=/s \"a b\"", "CommandLine=/s \"a b\" ", "/s \"a b\""},
        {"ToolRunOption", "CurrentDirectory=/ナギトリ/作業", "CurrentDirectory=/ナギトリ/作業 ", "/ナギトリ/作業"},
        {"ToolRunOption", "WindowSize=5", "WindowSize=-1 ", "-1"},
        {"ToolRunOption", "WindowSize=0x2", "WindowSize=2 ", "2"},
        {"ToolRunOption", "WindowSize=2x", "WindowSize=1 ", "1"},
        {"ToolRunOption", "GiveAdministrator=2", "GiveAdministrator=1 ", "1"},
        {"Start", "WindowTopShow=yes", "WindowTopShow=0 ", "0"},
        {"Start", "RunAdministrator=-1", "RunAdministrator=1 ", "1"},
        {"Start", "RunShowTab=9", "RunShowTab=4 ", "4"},
        {"Start", "RunShowTab=-3", "RunShowTab=-1 ", "-1"},
        {"Start", "RunShowTab=2", "RunShowTab=2 ", "2"},
        {"AutoInput", "Launcher_Name=2", "Launcher_Name=-1 ", "-1"},
        {"AutoInput", "Launcher_CurrentDirectory=0", "Launcher_CurrentDirectory=0 ", "0"},
        {"AutoInput", "ExecuteFileRun_CurrentDirectory=-1", "ExecuteFileRun_CurrentDirectory=-1 ", "-1"},
        {"Start", "SummonKey=Ctrl+Alt+Space", "SummonKey=Ctrl+Alt+Space", "Ctrl+Alt+Space"},
        {"Start", "SummonKey=meta+shift+f12", "SummonKey=Meta+Shift+F12", "Meta+Shift+F12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        WriteSettings(std::string("[") + c.section + "]\n" + c.line + "\n");
        TSetting& d = Create();
        EXPECT_NE(Shown(d).find(c.shown), std::string::npos) << Shown(d);
        d.OK->click();
        const std::string key(c.line, std::string(c.line).find('='));
        EXPECT_EQ(ProfileFile(SettingsFile()).ReadString(c.section, key, "(missing)"), c.written);
    }
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(SettingDialog, OkWritesAllTenKeysInOrderThenTheSummonKeyAndAgainChangesNothing) {
    Create().OK->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(ReadFileBytes(SettingsFile()), kFreshFile);

    // Unchanged values leave the file as it is, down to the same file on disk.
    const ino_t inode = Inode(SettingsFile());
    Create().OK->click();
    EXPECT_EQ(ReadFileBytes(SettingsFile()), kFreshFile);
    EXPECT_EQ(Inode(SettingsFile()), inode);

    // A user's file holding the same values, in its own order and with its own lines, stays as it is.
    const std::string own =
        "; mine\r\n[AutoInput]\r\nExecuteFileRun_CurrentDirectory=0\r\nLauncher_Name=1\r\n"
        "Launcher_CurrentDirectory=1\r\n\r\n[Start]\r\nSummonKey=Ctrl+Alt+K\r\nRunShowTab=3\r\nWindowTopShow=1\r\n"
        "RunAdministrator=0\r\n"
        "[ToolRunOption]\r\nGiveAdministrator=1\r\nWindowSize=2\r\nCurrentDirectory=/tmp\r\nCommandLine=-v\r\n";
    WriteSettings(own);
    const ino_t ownInode = Inode(SettingsFile());
    Create().OK->click();
    EXPECT_EQ(ReadFileBytes(SettingsFile()), own);
    EXPECT_EQ(Inode(SettingsFile()), ownInode);
}

TEST_F(SettingDialog, OkClosesAcceptedAndCancelWritesNothing) {
    desktop.modalScripts.push_back([](QDialog& shown) {
        auto& d = static_cast<TSetting&>(shown);
        d.CommandLine->setText(QStringLiteral("-x"));
        d.RunShowTab->Button(3)->click();
        d.Cancel->click();
    });
    EXPECT_EQ(desktop.RunModal(Create()), QDialog::Rejected);
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));

    desktop.modalScripts.push_back([](QDialog& shown) {
        auto& d = static_cast<TSetting&>(shown);
        d.CommandLine->setText(QStringLiteral("-x"));
        d.RunShowTab->Button(3)->click();
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_EQ(desktop.RunModal(Create()), QDialog::Rejected);
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));

    desktop.modalScripts.push_back([](QDialog& shown) {
        auto& d = static_cast<TSetting&>(shown);
        d.CommandLine->setText(QStringLiteral("-x"));
        d.RunShowTab->Button(3)->click();
        // Enter in a field presses the default button, OK.
        d.CommandLine->setFocus();
        QTest::keyClick(d.CommandLine, Qt::Key_Return);
    });
    EXPECT_EQ(desktop.RunModal(Create()), QDialog::Accepted);
    EXPECT_EQ(ProfileFile(SettingsFile()).ReadString("ToolRunOption", "CommandLine", ""), "-x");
    EXPECT_EQ(ProfileFile(SettingsFile()).ReadInteger("Start", "RunShowTab", 0), 3);
}

TEST_F(SettingDialog, AFailedSaveIsReportedOnceAndTheDialogStaysOpen) {
    // The executable's folder is a regular file, so nothing can be written beside the executable.
    std::filesystem::remove(dir / "bin");
    WriteFileBytes(dir / "bin", "not a folder");
    bool stayedOpen = false;
    desktop.modalScripts.push_back([&stayedOpen](QDialog& shown) {
        static_cast<TSetting&>(shown).OK->click();
        stayedOpen = shown.isVisible() && shown.result() == QDialog::Rejected;
    });
    EXPECT_EQ(desktop.RunModal(Create()), QDialog::Rejected);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, QString::fromUtf8(messages::kSaveFailed));
    EXPECT_EQ(desktop.boxes[0].flags, 48u);
    EXPECT_EQ(desktop.boxes[0].parent, dialog.get());
    EXPECT_EQ(dialog->CurrentDirectory->text(), QString());
}

TEST_F(SettingDialog, TheStorePageIsRefusedBeforeWindowsTen) {
    const QString warning = QStringLiteral("ストアアプリ／UWPアプリはWindows 10のみ有効です。");
    // From the file, while the dialog is being created.
    system.osMajor = 6;
    WriteSettings("[Start]\nRunShowTab=2\n");
    TSetting& d = Create();
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, warning);
    EXPECT_EQ(desktop.boxes[0].flags, 48u);
    EXPECT_EQ(d.RunShowTab->ItemIndex(), 0);
    EXPECT_TRUE(d.RunShowTab->Button(0)->isChecked());
    d.OK->click();
    EXPECT_EQ(ProfileFile(SettingsFile()).ReadInteger("Start", "RunShowTab", -9), 0);

    // By the user.
    struct Case {
        int osMajor;
        int clicked;
        bool warned;
        int selected;
    };
    const Case cases[] = {{6, 2, true, 0}, {9, 2, true, 0}, {9, 3, false, 3}, {10, 2, false, 2}, {11, 2, false, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "version " << c.osMajor << " item " << c.clicked);
        system.osMajor = c.osMajor;
        WriteSettings("[Start]\nRunShowTab=4\n");
        desktop.boxes.clear();
        TSetting& shown = Create();
        shown.RunShowTab->Button(c.clicked)->click();
        EXPECT_EQ(desktop.boxes.size(), c.warned ? 1u : 0u);
        EXPECT_EQ(shown.RunShowTab->ItemIndex(), c.selected);
        EXPECT_TRUE(shown.RunShowTab->Button(c.selected)->isChecked());
        EXPECT_FALSE(shown.RunShowTab->Button(c.clicked)->isChecked() && c.warned);
    }
}

TEST_F(SettingDialog, TheFolderPickerFillsCurrentDirectoryOnlyWhenConfirmed) {
    TSetting& d = Create();
    d.CurrentDirectory->setText(QStringLiteral("/typed"));
    d.CurrentDirectoryReference->click();
    EXPECT_EQ(d.CurrentDirectory->text(), QStringLiteral("/typed"));
    desktop.folderAnswers.push_back(QStringLiteral("/home/me/作業 フォルダ"));
    d.CurrentDirectoryReference->click();
    EXPECT_EQ(d.CurrentDirectory->text(), QStringLiteral("/home/me/作業 フォルダ"));
    ASSERT_EQ(desktop.folderRequests.size(), 2u);
    for (const FolderOptions& request : desktop.folderRequests) {
        EXPECT_EQ(request.prompt, QStringLiteral("カレントディレクトリの選択"));
        EXPECT_FALSE(request.newFolderButton);
        EXPECT_TRUE(request.startFolder.isEmpty());
    }
}

TEST_F(SettingDialog, DeletionsAndResetsAskThenDeleteTheirFilesAndRefresh) {
    struct Case {
        QPushButton* TSetting::*button;
        const char* question;
        unsigned flags;
        bool settingsGone, launcherGone, fileHistoryGone, directoryHistoryGone;
    };
    const Case cases[] = {
        {&TSetting::HistoryDelete_FilePath,
         "実行ファイルを指定して起動ダイアログのファイルパスの入力履歴を削除しますか?", 36, false, false, true, false},
        {&TSetting::HistoryDelete_CurrentDirectory,
         "実行ファイルを指定して起動ダイアログのカレントディレクトリの入力履歴を削除しますか?", 36, false, false, false,
         true},
        {&TSetting::SettingReset_Setting, "ナギトリの設定を初期化しますか?\r\n※ランチャーの設定は初期化されません。",
         292, true, false, false, false},
        {&TSetting::SettingReset_LauncherSetting, "ランチャーの設定を初期化しますか?", 292, false, true, false, false},
        {&TSetting::SettingReset_AllSetting, "すべての設定を初期化しますか?", 292, true, true, false, false},
    };
    const std::string settings =
        "[ToolRunOption]\nCommandLine=-q\nGiveAdministrator=1\n[Start]\nRunShowTab=3\nSummonKey=Ctrl+Alt+K\n";
    for (const Case& c : cases) {
        for (int answer : {kIdNo, kIdYes}) {
            SCOPED_TRACE(testing::Message() << c.question << (answer == kIdYes ? " yes" : " no"));
            WriteSettings(settings);
            WriteFileBytes(LauncherFile(), "[Application_1]\nName=a\n");
            WriteFileBytes(FileHistory(), "/bin/a");
            WriteFileBytes(DirectoryHistory(), "/tmp");
            n4.setChecked(true);
            n5.setChecked(true);
            desktop.boxes.clear();
            launcherReadings = 0;
            summonKeyResets = 0;
            TSetting& d = Create();
            desktop.boxAnswers.push_back(answer);
            (d.*c.button)->click();

            ASSERT_EQ(desktop.boxes.size(), 1u);
            EXPECT_EQ(desktop.boxes[0].text, QString::fromUtf8(c.question));
            EXPECT_EQ(desktop.boxes[0].flags, c.flags);
            const bool yes = answer == kIdYes;
            EXPECT_EQ(std::filesystem::exists(SettingsFile()), !(yes && c.settingsGone));
            EXPECT_EQ(std::filesystem::exists(LauncherFile()), !(yes && c.launcherGone));
            EXPECT_EQ(std::filesystem::exists(FileHistory()), !(yes && c.fileHistoryGone));
            EXPECT_EQ(std::filesystem::exists(DirectoryHistory()), !(yes && c.directoryHistoryGone));
            EXPECT_EQ(launcherReadings, yes && c.launcherGone ? 1 : 0);
            // The summon key goes with the settings file, and the main window unbinds it at once.
            EXPECT_EQ(summonKeyResets, yes && c.settingsGone ? 1 : 0);
            // A settings reset shows the defaults and clears the main window's two marks.
            const bool reread = yes && c.settingsGone;
            EXPECT_EQ(Shown(d) == kDefaults, reread) << Shown(d);
            EXPECT_EQ(n4.isChecked(), !reread);
            EXPECT_EQ(n5.isChecked(), !reread);
        }
    }
}

// A file without write permission is never changed, not even deleted by a reset: it is passed over as a file
// that cannot be deleted, and the reset goes on with its next step.
TEST_F(SettingDialog, DeletionsAndResetsPassOverAProtectedFile) {
    const std::string settings = "[ToolRunOption]\nCommandLine=-q\n";
    const std::vector<std::pair<std::filesystem::path, std::string>> files = {
        {SettingsFile(), settings},
        {LauncherFile(), "[Application_1]\nName=a\n"},
        {FileHistory(), "/bin/a"},
        {DirectoryHistory(), "/tmp"}};
    for (const auto& [path, bytes] : files) {
        WriteFileBytes(path, bytes);
        std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                               std::filesystem::perms::others_read);
    }
    TSetting& d = Create();
    for (QPushButton* button : {d.HistoryDelete_FilePath, d.HistoryDelete_CurrentDirectory, d.SettingReset_Setting,
                                d.SettingReset_LauncherSetting, d.SettingReset_AllSetting}) {
        SCOPED_TRACE(button->objectName().toStdString());
        desktop.boxes.clear();
        n4.setChecked(true);
        d.CommandLine->clear();
        button->click();
        EXPECT_EQ(desktop.boxes.size(), 1u);
        for (const auto& [path, bytes] : files) {
            EXPECT_EQ(ReadFileBytes(path), bytes) << path;
        }
        // The settings resets still read the file again, which still holds its values.
        const bool reread = button == d.SettingReset_Setting || button == d.SettingReset_AllSetting;
        EXPECT_EQ(d.CommandLine->text(), reread ? QStringLiteral("-q") : QString());
        EXPECT_EQ(n4.isChecked(), !reread);
    }
    EXPECT_EQ(launcherReadings, 2);
}

TEST_F(SettingDialog, AfterASettingsResetOkWritesTheDefaultsAgain) {
    WriteSettings("[ToolRunOption]\nCommandLine=-q\n");
    TSetting& d = Create();
    d.SettingReset_Setting->click();
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
    d.OK->click();
    EXPECT_EQ(ReadFileBytes(SettingsFile()), kFreshFile);
}

TEST_F(SettingDialog, OkRefusesASummonKeyThatWouldTakeTypingBeforeWritingAnything) {
    desktop.modalScripts.push_back([](QDialog& shown) {
        auto& d = static_cast<TSetting&>(shown);
        d.CommandLine->setText(QStringLiteral("-x"));
        d.SummonKey->setKeySequence(QKeySequence(Qt::SHIFT | Qt::Key_K));
        d.OK->click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.PageControl1->currentWidget(), d.TabSheet2);
        EXPECT_EQ(d.focusWidget(), d.SummonKey);
        d.SummonKey->setKeySequence(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
        d.OK->click();
    });
    EXPECT_EQ(desktop.RunModal(Create()), QDialog::Accepted);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, QString::fromUtf8(messages::kUnusableSummonKey).arg(QStringLiteral("Shift+K")));
    EXPECT_EQ(desktop.boxes[0].flags, 48u);
    EXPECT_EQ(ProfileFile(SettingsFile()).ReadString("Start", "SummonKey", ""), "Ctrl+Shift+K");
    EXPECT_EQ(ProfileFile(SettingsFile()).ReadString("ToolRunOption", "CommandLine", ""), "-x");
}

TEST_F(SettingDialog, TheSummonKeyFieldHoldsOneKey) {
    TSetting& d = Create();
    d.show();
    d.PageControl1->setCurrentWidget(d.TabSheet2);
    d.SummonKey->setFocus();
    QSignalSpy finished(d.SummonKey, &QKeySequenceEdit::editingFinished);
    QTest::keyClick(d.SummonKey, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(d.SummonKey, Qt::Key_F12, Qt::MetaModifier);
    ASSERT_TRUE(finished.wait(3000));
    EXPECT_EQ(d.SummonKey->keySequence().toString(QKeySequence::PortableText), QStringLiteral("Meta+F12"));
}

TEST_F(SettingDialog, DeletingWhatIsNotThereShowsNothingButTheQuestion) {
    // A folder where a file should be is left alone, like a missing file.
    std::filesystem::create_directory(LauncherFile());
    TSetting& d = Create();
    for (QPushButton* button : {d.HistoryDelete_FilePath, d.HistoryDelete_CurrentDirectory, d.SettingReset_Setting,
                                d.SettingReset_LauncherSetting, d.SettingReset_AllSetting}) {
        desktop.boxes.clear();
        button->click();
        EXPECT_EQ(desktop.boxes.size(), 1u) << button->objectName().toStdString();
    }
    EXPECT_TRUE(std::filesystem::is_directory(LauncherFile()));
    EXPECT_EQ(launcherReadings, 2);
}

TEST_F(SettingDialog, StartupButtonsNeedAdministratorRights) {
    TSetting& d = Create();
    d.StartupEntry->click();
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].text, QStringLiteral("管理者権限が必要です。"));
    EXPECT_EQ(desktop.boxes[0].flags, 16u);
    EXPECT_FALSE(startup);
    EXPECT_TRUE(captions.empty());
    EXPECT_TRUE(system.runKey.values.empty());
    EXPECT_TRUE(d.StartupEntry->isEnabled());
    EXPECT_FALSE(d.DeleteStartup->isEnabled());
}

TEST_F(SettingDialog, StartupButtonsFlipTheRegistrationWhenTheRoutineChangedIt) {
    system.admin = true;
    TSetting& d = Create();
    d.StartupEntry->click();
    EXPECT_TRUE(startup);
    EXPECT_EQ(captions, std::vector<bool>{true});
    EXPECT_FALSE(d.StartupEntry->isEnabled());
    EXPECT_TRUE(d.DeleteStartup->isEnabled());
    EXPECT_EQ(system.runKey.values["Nagitori"], system.executable.string());
    ASSERT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(desktop.boxes[0].flags, 305u);
    EXPECT_EQ(desktop.boxes[1].flags, 0u);

    d.DeleteStartup->click();
    EXPECT_FALSE(startup);
    EXPECT_EQ(captions, (std::vector<bool>{true, false}));
    EXPECT_TRUE(d.StartupEntry->isEnabled());
    EXPECT_FALSE(d.DeleteStartup->isEnabled());
    EXPECT_EQ(system.runKey.values.count("Nagitori"), 0u);
}

TEST_F(SettingDialog, StartupButtonsChangeNothingWhenTheRoutineChangedNothing) {
    system.admin = true;
    startup = true;
    system.runKey.values["Nagitori"] = "/opt/old";
    struct Case {
        const char* name;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"cancelled", [this] { desktop.boxAnswers.push_back(kIdCancel); }},
        {"key does not open", [this] { system.runKey.opens = false; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSetting& d = Create();
        c.arrange();
        d.DeleteStartup->click();
        EXPECT_TRUE(startup);
        EXPECT_TRUE(captions.empty());
        EXPECT_FALSE(d.StartupEntry->isEnabled());
        EXPECT_TRUE(d.DeleteStartup->isEnabled());
        EXPECT_EQ(system.runKey.values["Nagitori"], "/opt/old");
    }

    // A registration that fails to write reaches the general error box and flips nothing.
    startup = false;
    system.runKey.opens = true;
    system.runKey.writeFails = true;
    system.runKey.values.clear();
    TSetting& d = Create();
    desktop.boxes.clear();
    d.StartupEntry->click();
    ASSERT_FALSE(desktop.boxes.empty());
    EXPECT_EQ(desktop.boxes.back().text, QStringLiteral("'Nagitori' の設定に失敗しました."));
    EXPECT_EQ(desktop.boxes.back().flags, 16u);
    EXPECT_FALSE(startup);
    EXPECT_TRUE(captions.empty());
    EXPECT_TRUE(d.StartupEntry->isEnabled());
}

}  // namespace
}  // namespace nagitori::test
