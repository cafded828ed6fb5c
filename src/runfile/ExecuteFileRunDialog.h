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

#include "platform/Desktop.h"
#include "platform/System.h"
#include "runfile/HistoryComboBox.h"
#include "settings/ProfileFile.h"

namespace nagitori {

class CommandLineFieldTools;

// The run-a-file dialog: an executable with its arguments, working directory, window size and
// administrator flag. It accepts only a path that names an existing file, and then remembers the path
// and the working directory in the two input histories. The opener launches from the closed dialog.
class TExecuteFileRun : public QDialog {
    Q_OBJECT
public:
    TExecuteFileRun(System& system, Desktop& desktop, QWidget* owner);

    ProfileFile SettingData;

    QLabel* ExecuteFilePathLabel;
    HistoryComboBox* ExecuteFilePath;
    QPushButton* FilePathReference;
    QLabel* CommandLineLabel;
    QLineEdit* CommandLine;
    QPushButton* CommandLineSet;
    CommandLineFieldTools* CommandLineTools;
    QMenu* CommandLineMenu;
    QAction* N1;
    QAction* N2;
    QAction* N3;
    QAction* N4;
    QLabel* CurrentDirectoryLabel;
    HistoryComboBox* CurrentDirectory;
    QToolButton* CurrentDirectoryReference;
    QMenu* CurrentDirectoryMenu;
    QAction* N5;
    QLabel* WindowSizeLabel;
    QComboBox* WindowSize;
    QCheckBox* AnAdminAdd;
    QPushButton* OK;
    QPushButton* Cancel;

    void FilePathReferenceClick();
    // A file chosen through "..." or dropped on the path field: the path, and the working directory where it
    // is empty and the settings ask for it.
    void FileChosen(const QString& file);
    void CurrentDirectoryReferenceClick();
    void N5Click();
    void OKClick();

private:
    void BuildControls();
    void ConnectHandlers();
    void FormCreate();
    // OK sets the result first; the handler puts it back to none to keep the dialog open.
    // Keeps the dialog open after a rejected input, with the focus on the path.
    void RejectPath(const QString& message);

    System& system_;
    Desktop& desktop_;
};

}  // namespace nagitori
