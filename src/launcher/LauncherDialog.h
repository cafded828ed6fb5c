#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <optional>

#include "platform/Desktop.h"
#include "platform/System.h"
#include "settings/ProfileFile.h"
#include "widgets/OffThread.h"

namespace nagitori {

namespace launcher_texts {
inline constexpr char kCaption[] = "ランチャーの管理";
inline constexpr char kTrue[] = "True";
inline constexpr char kFalse[] = "False";
// The administrator flag in AnAdminAddList.
inline constexpr char kFlagTrue[] = "-1";
inline constexpr char kFlagFalse[] = "0";
}  // namespace launcher_texts

// The management of the launcher entries: works on a copy of the launcher data file in memory and
// writes it back on OK; Cancel leaves the file untouched.
class TLauncher : public QDialog {
    Q_OBJECT
public:
    TLauncher(System& system, Desktop& desktop, QWidget* owner);

    QListWidget* LauncherList;
    QPushButton* Add;
    QPushButton* Edit;
    QPushButton* Delete;
    QPushButton* ItemUp;
    QPushButton* ItemDown;
    QPushButton* OK;
    QPushButton* Cancel;
    QGroupBox* ToolInfo;
    QLineEdit* Name;
    QLineEdit* FilePath;
    QLineEdit* CommandLine;
    QLineEdit* CurrentDirectory;
    QLineEdit* WindowSize;
    QLineEdit* AnAdminAdd;

    std::optional<ProfileFile> LauncherData;
    // Parallel to the rows of LauncherList. Window sizes as decimal texts, flags as "-1" or "0".
    QStringList NameList;
    QStringList FilePathList;
    QStringList CommandLineList;
    QStringList CurrentDirectoryList;
    QStringList WindowSizeList;
    QStringList AnAdminAddList;

    void FormCreate();
    // Shows the entry at index in the panel, or clears it for -1.
    void ToolInfoDisplay(int index);
    void LauncherListClick();
    void LauncherListDblClick();
    void AddClick();
    void EditClick();
    void DeleteClick();
    void ItemUpClick();
    void ItemDownClick();
    void OKClick();
    // Adds each file through the entry editor, filled as if the file had been chosen there, one after the
    // other; with twenty entries it beeps as Add does. Returns whether an entry was added.
    bool FilesDropped(const QStringList& files);

    // The selected row, or -1.
    int SelectedRow() const;
    // Whether icons of rows are still to come.
    bool IconsPending() const { return iconsToCome_ > 0; }

private:
    void BuildControls();
    void ConnectHandlers();
    void Handle(void (TLauncher::*handler)());
    void Select(int row);
    void SwapEntries(int row, int other);
    // Looks up the icon of what the entry in the row starts, off the interface thread; it lands on the row
    // wherever the row has moved by then, and not at all when the row is gone or asked again meanwhile.
    void ReadEntryIcon(int row);
    // Runs the editor with the caption; on OK returns true with its values in the entry's lists at index.
    // A dropped file is taken as if chosen in the editor.
    bool RunEditor(const char* caption, int index, const QString& droppedFile = {});
    // This dialog, or its owner while it is not shown (files dropped on the main window): what the editor and
    // the messages stand over, and what takes the focus back after them.
    QWidget* VisibleOwner();
    // Runs the editor for a new entry at the end; on OK adds its row.
    bool AddEntry(const QString& droppedFile);

    System& system_;
    Desktop& desktop_;
    OffThread* iconLookups_;
    qint64 iconRequests_ = 0;
    int iconsToCome_ = 0;
};

}  // namespace nagitori
