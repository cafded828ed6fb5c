#pragma once

#include "platform/Desktop.h"

namespace nagitori {

// The desktop services on Qt: message boxes, Qt's file dialogs, the system beep, modal runs, menus.
class QtDesktop final : public Desktop {
public:
    int MessageBox(QWidget* parent, const QString& text, unsigned flags) override;
    QStringList OpenFiles(QWidget* parent, const OpenFileOptions& options) override;
    std::optional<QString> BrowseForFolder(QWidget* parent, const FolderOptions& options) override;
    void MessageBeep() override;
    int RunModal(QDialog& dialog) override;
    void PopupMenu(QMenu& menu, const QPoint& screenPos) override;
    bool KeepsWindowsOnTop() const override;
};

}  // namespace nagitori
