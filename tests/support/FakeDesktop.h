#pragma once

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/Desktop.h"

namespace nagitori::test {

// Records what the windows ask of the desktop and answers from scripts queued by the test.
// An empty queue answers: message box kIdOk (kIdYes for Yes/No boxes), pickers cancelled,
// modal dialogs rejected, popup menus closed without a choice.
class FakeDesktop : public Desktop {
public:
    struct Box {
        QString text;
        unsigned flags;
        QWidget* parent;
    };
    struct Popup {
        QStringList itemTexts;  // captions, separators as empty texts
        QPoint screenPos;
    };
    using ModalScript = std::function<void(QDialog&)>;

    std::vector<Box> boxes;
    std::deque<int> boxAnswers;
    std::vector<OpenFileOptions> openFileRequests;
    std::deque<QStringList> openFileAnswers;
    std::vector<FolderOptions> folderRequests;
    std::deque<std::optional<QString>> folderAnswers;
    int beeps = 0;
    std::vector<QString> modalDialogs;  // objectName of each dialog run
    std::deque<ModalScript> modalScripts;
    std::vector<Popup> popups;
    std::deque<QString> popupChoices;  // caption of the item to trigger
    bool keepsWindowsOnTop = true;

    int MessageBox(QWidget* parent, const QString& text, unsigned flags) override;
    QStringList OpenFiles(QWidget* parent, const OpenFileOptions& options) override;
    std::optional<QString> BrowseForFolder(QWidget* parent, const FolderOptions& options) override;
    void MessageBeep() override { ++beeps; }
    // Runs the next script on the dialog (it fills controls and clicks buttons), then returns the
    // dialog's result; a dialog still open after its script is rejected.
    int RunModal(QDialog& dialog) override;
    void PopupMenu(QMenu& menu, const QPoint& screenPos) override;
    bool KeepsWindowsOnTop() const override { return keepsWindowsOnTop; }
};

}  // namespace nagitori::test
