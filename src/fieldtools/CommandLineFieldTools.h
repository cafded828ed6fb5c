#pragma once

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QObject>
#include <QPushButton>
#include <array>

#include "platform/Desktop.h"

namespace nagitori {

// How one dialog's copy of the command-line tools differs from the others.
struct CommandLineFieldToolsConfig {
    // Names of the four menu items: insert file names, insert folder path, separator, clear.
    std::array<const char*, 4> itemNames;
    // Whether a file name appended to an empty field still gets its leading space.
    bool spaceBeforeFileNameInEmptyField;
    bool newFolderButton;
};

// The ">" button beside a command-line field and its menu: append chosen files, append a chosen
// folder, clear. Only the field's text changes.
class CommandLineFieldTools : public QObject {
    Q_OBJECT
public:
    CommandLineFieldTools(Desktop& desktop, QLineEdit* field, QPushButton* button,
                          const CommandLineFieldToolsConfig& config);

    QMenu* CommandLineMenu;
    QAction* InsertFileName;
    QAction* InsertDirectoryPath;
    QAction* Separator;
    QAction* Clear;

    // The button's click: the menu opens at the button's top-right corner.
    void OpenMenu();
    void InsertFileNameClick();
    void InsertDirectoryPathClick();
    void ClearClick();

private:
    Desktop& desktop_;
    QLineEdit* field_;
    QPushButton* button_;
    CommandLineFieldToolsConfig config_;
};

}  // namespace nagitori
