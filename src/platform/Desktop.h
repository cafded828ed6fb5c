#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

class QDialog;
class QMenu;
class QWidget;

namespace nagitori {

// Message box flags, as the Windows MessageBox takes them.
namespace mb {
constexpr unsigned kOk = 0x0;
constexpr unsigned kOkCancel = 0x1;
constexpr unsigned kYesNo = 0x4;
constexpr unsigned kIconError = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconWarning = 0x30;
constexpr unsigned kIconInformation = 0x40;
constexpr unsigned kDefButton2 = 0x100;
constexpr unsigned kTopmost = 0x40000;
}  // namespace mb

// Message box answers.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// The open-file dialog. The filter is "description|pattern;pattern".
struct OpenFileOptions {
    QString title;
    QString filter;
    bool multiSelect = false;
    QString initialFileName;
    QString initialFolder;
};

// The folder picker; a starting folder is preselected when it exists.
struct FolderOptions {
    QString prompt;
    bool newFolderButton = false;
    QString startFolder;
};

// The desktop services windows use: everything modal goes through here so windows can be tested.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Caption is always the application title. Returns kIdOk, kIdCancel, kIdYes or kIdNo.
    virtual int MessageBox(QWidget* parent, const QString& text, unsigned flags) = 0;
    // Full paths of the chosen existing files, in the dialog's order; empty when cancelled.
    virtual QStringList OpenFiles(QWidget* parent, const OpenFileOptions& options) = 0;
    // The chosen folder without a trailing separator (a root keeps it); nothing when cancelled.
    virtual std::optional<QString> BrowseForFolder(QWidget* parent, const FolderOptions& options) = 0;
    virtual void MessageBeep() = 0;
    // Shows the dialog modally and returns its result.
    virtual int RunModal(QDialog& dialog) = 0;
    // Opens the menu with its top-left corner at the screen point; returns when it closed.
    virtual void PopupMenu(QMenu& menu, const QPoint& screenPos) = 0;
    // Whether a window can stay above the others here. A native Wayland session gives a program no way to ask.
    virtual bool KeepsWindowsOnTop() const = 0;
};

}  // namespace nagitori
