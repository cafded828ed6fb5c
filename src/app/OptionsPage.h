#pragma once

#include <QPushButton>
#include <QWidget>

namespace nagitori {

// The options page: six buttons in one column. The main window connects them to its handlers.
class OptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit OptionsPage(QWidget* parent);

    // "Windows起動時に自動起動" while not registered, "自動起動の解除" while registered.
    void SetStartupCaption(bool registered);

    QPushButton* Help;
    QPushButton* StartupEntry;
    QPushButton* SettingDialogOpen;
    QPushButton* ExecuteFileRunDialogOpen;
    QPushButton* LauncherSettingDialogOpen;
    QPushButton* VersionInformationDialogOpen;
};

}  // namespace nagitori
