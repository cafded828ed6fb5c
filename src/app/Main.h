#pragma once

#include <QAction>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/System.h"
#include "settings/ProfileFile.h"

namespace nagitori {

class LauncherPage;
class OptionsPage;
class ToolPages;

// The main window: page list, five pages, main menu and the two option toggles.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    TMainForm(System& system, Desktop& desktop, QWidget* parent = nullptr);
    ~TMainForm() override;

    // True when start-up found that the program must not run; the caller ends it before any input.
    bool TerminateRequested() const { return terminateRequested_; }

    // The page shown in the page area, or -1 for none.
    int ShownPage() const;
    void SetStayOnTop(bool on);

    // Shared with the dialogs the main window opens.
    std::vector<std::string> ToolRunCommand;
    bool Startup = false;
    std::string SettingDataFileName;
    std::string CommandLine;
    std::string CurrentDirectory;
    int WindowSize = 1;
    std::optional<ProfileFile> SettingDataReader;
    std::optional<ProfileFile> LauncherReading;
    // Binds the summon key (Qt's portable text, empty for none) after the settings dialog changed it or a reset
    // removed it; unset, the key is only written.
    std::function<void(const QString&)> ApplySummonKey;

    QWidget* centralArea;
    QListWidget* Item;
    QWidget* Tab;
    std::array<QWidget*, 5> Pages{};
    OptionsPage* Page5;
    ToolPages* Tools;
    LauncherPage* Launchers;

    QMenuBar* AppMenu;
    QMenu* N1;
    QAction* N2;
    QMenu* N3;
    QAction* N4;
    QAction* N5;
    QAction* N6;
    QAction* N13;
    QAction* N14;
    QAction* N7;
    QAction* N8;
    QMenu* N9;
    QAction* N10;
    QAction* N11;
    QAction* N12;

    void ItemClick();
    void N2Click();
    void N4Click();
    void N5Click();
    void HelpClick();
    void StartupEntryClick();
    void SettingDialogOpenClick();
    void N13Click();
    void LauncherSettingDialogOpenClick();
    void VersionInformationDialogOpenClick();
    void LauncherDataReading();
    // Files dropped on the launcher page become entries, each through the entry editor.
    void LauncherFilesDropped(const QStringList& files);
    // The icons of the built-in and launcher buttons, looked up off the interface thread.
    void IconsReading();
    // Whether icons of the last reading or refill are still to come.
    bool IconsPending() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildPages();
    void BuildMenu();
    void FormCreate();
    void ConnectHandlers();
    void ShowPage(int page);
    // Entry-to-page rule: without the Store entry, entries from 2 on show the page after.
    int PageOfEntry(int entry) const;
    bool WindowsTenOrLater() const;
    void Handle(void (TMainForm::*handler)());
    // Tells the user, the first time stay-on-top is turned on, when the session cannot keep a window above.
    void ExplainStayOnTop();

    System& system_;
    Desktop& desktop_;
    bool terminateRequested_ = false;
    bool iconsRequested_ = false;
    bool stayOnTopExplained_ = false;
};

}  // namespace nagitori
