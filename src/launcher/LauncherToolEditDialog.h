#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <optional>

#include "fieldtools/CommandLineFieldTools.h"
#include "platform/Desktop.h"
#include "platform/System.h"
#include "settings/ProfileFile.h"

namespace nagitori {

namespace tool_edit_texts {
inline constexpr char kAddCaption[] = "ツールの追加";
inline constexpr char kEditCaption[] = "ツールの編集";
inline constexpr char kNameRequired[] = "名前を入力してください。";
inline constexpr char kFilePathRequired[] = "ファイルのパスを選択してください。";
inline constexpr char kExecutableTitle[] = "実行ファイルの選択";
inline constexpr char kExecutableFilter[] = "実行ファイル（*.exe;*.bat;*.cmd;*.com）|*.exe;*.bat;*.cmd;*.com";
inline constexpr char kFolderPrompt[] = "ディレクトリの選択";
inline constexpr char kCurrentDirectoryPrompt[] = "カレントディレクトリの選択";
}  // namespace tool_edit_texts

// The editor of one launcher entry. The entry lives in the controls: the caller fills them before the
// modal run and reads them after OK (the window-size index, the check box and the four texts).
class TLauncherToolEdit : public QDialog {
    Q_OBJECT
public:
    TLauncherToolEdit(System& system, Desktop& desktop, QWidget* owner);

    QLabel* NameLabel;
    QLineEdit* Name;
    QPushButton* NameAutoSet;
    QLabel* FilePathLabel;
    QLineEdit* FilePath;
    QToolButton* FilePathReference;
    QLabel* CommandLineLabel;
    QLineEdit* CommandLine;
    QPushButton* CommandLineSet;
    QLabel* CurrentDirectoryLabel;
    QLineEdit* CurrentDirectory;
    QToolButton* CurrentDirectoryReference;
    QLabel* Label1;
    QComboBox* WindowSize;
    QCheckBox* AnAdminAdd;
    QPushButton* OK;
    QPushButton* Cancel;

    QMenu* NameMenu;
    QAction* N1;
    QMenu* FilePathMenu;
    QAction* N7;
    QMenu* CurrentDirectoryMenu;
    QAction* N6;
    CommandLineFieldTools* CommandLineTools;  // CommandLineMenu with N2, N3, N4, N5

    // The settings file, for the stay-on-top option and the two auto-fill options.
    std::optional<ProfileFile> SettingData;

    void FormCreate();
    void FilePathReferenceClick();
    // A file chosen through "..." or dropped on the launcher: the file path, and the name and working
    // directory where they are empty and the settings ask for them.
    void FileChosen(const QString& file);
    void N7Click();
    void CurrentDirectoryReferenceClick();
    void N6Click();
    void NameAutoSetClick();
    void N1Click();
    void OKClick();

private:
    void BuildControls();
    void ConnectHandlers();
    void Handle(void (TLauncherToolEdit::*handler)());

    System& system_;
    Desktop& desktop_;
};

}  // namespace nagitori
