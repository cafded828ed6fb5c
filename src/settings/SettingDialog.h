#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <functional>
#include <optional>
#include <string>

#include "fieldtools/CommandLineFieldTools.h"
#include "platform/Desktop.h"
#include "platform/System.h"
#include "settings/ProfileFile.h"
#include "settings/RadioGroup.h"

namespace nagitori {

// What the settings dialog reads and changes of the main window that opened it.
struct SettingDialogHost {
    // The startup registration the main window believes in.
    bool& Startup;
    // Captions the main window's startup button for the new state.
    std::function<void(bool registered)> SetStartupCaption;
    // Refills the main window's launcher buttons from the launcher data file.
    std::function<void()> LauncherDataReading;
    // The main window's two option toggles; a settings reset clears their check marks.
    QAction& N4;
    QAction& N5;
    // A settings reset removed the summon key: the main window unbinds it at once.
    std::function<void()> SummonKeyReset;
};

// The settings dialog: ten settings and the summon key on four pages, written on OK; startup registration, history
// deletion and resets take effect at once, however the dialog is closed.
class TSetting : public QDialog {
    Q_OBJECT
public:
    TSetting(System& system, Desktop& desktop, QWidget* owner, SettingDialogHost host);

    std::string SettingDataFileName;
    std::string FilePathHistoryDataFileName;
    std::string CurrentDirectoryHistoryDataFileName;
    std::string LauncherDataFileName;

    QTabWidget* PageControl1;
    QPushButton* OK;
    QPushButton* Cancel;

    QWidget* TabSheet1;
    QLineEdit* CommandLine;
    QPushButton* CommandLineReference;
    QLineEdit* CurrentDirectory;
    QPushButton* CurrentDirectoryReference;
    QLabel* Label7;
    QComboBox* WindowSize;
    QCheckBox* Administrator;
    CommandLineFieldTools* CommandLineTools;

    QWidget* TabSheet2;
    QCheckBox* WindowTopShow;
    QCheckBox* RunAdministrator;
    RadioGroup* RunShowTab;
    QPushButton* StartupEntry;
    QPushButton* DeleteStartup;
    QLabel* SummonKeyLabel;
    QKeySequenceEdit* SummonKey;

    QWidget* TabSheet3;
    QGroupBox* GroupBox1;
    QLabel* Label1;
    QComboBox* Launcher_Name;
    QLabel* Label3;
    QComboBox* Launcher_CurrentDirectory;
    QGroupBox* GroupBox2;
    QLabel* Label2;
    QComboBox* ExecuteFileRun_CurrentDirectory;

    QWidget* TabSheet4;
    QGroupBox* GroupBox3;
    QPushButton* HistoryDelete_FilePath;
    QPushButton* HistoryDelete_CurrentDirectory;
    QGroupBox* GroupBox4;
    QPushButton* SettingReset_Setting;
    QPushButton* SettingReset_LauncherSetting;
    QPushButton* SettingReset_AllSetting;

    void SettingDataReading();
    void OKClick();
    void RunShowTabClick();
    void CurrentDirectoryReferenceClick();
    void StartupEntryOrDeleteClick();
    void HistoryDelete_FilePathClick();
    void HistoryDelete_CurrentDirectoryClick();
    void SettingReset_SettingClick();
    void SettingReset_LauncherSettingClick();
    void SettingReset_AllSettingClick();

private:
    void BuildToolPage();
    void BuildStartPage();
    void BuildAutoInputPage();
    void BuildOtherPage();
    void SetTabOrder();
    void ConnectHandlers();
    void FormCreate();
    // Steps 1 to 10 of SettingDataReading: the controls only, nothing of the main window.
    void ReadControls();
    // A summon key that cannot serve is refused before anything is written.
    bool SummonKeyUsable();
    // The summon key went with the settings file.
    void SummonKeyRemoved();
    bool Ask(const QString& question, unsigned flags);
    void Handle(void (TSetting::*handler)());

    System& system_;
    Desktop& desktop_;
    SettingDialogHost host_;
    std::optional<ProfileFile> SettingData;
};

}  // namespace nagitori
