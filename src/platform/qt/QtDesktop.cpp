#include "platform/qt/QtDesktop.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMenu>

#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtPickers.h"

namespace nagitori {

int QtDesktop::MessageBox(QWidget* parent, const QString& text, unsigned flags) {
    const auto box = BuildMessageBox(parent, text, flags);
    box->exec();
    return AnswerOf(*box);
}

QStringList QtDesktop::OpenFiles(QWidget* parent, const OpenFileOptions& options) {
    const auto dialog = BuildOpenFileDialog(parent, options);
    QStringList paths;
    if (dialog->exec() == QDialog::Accepted) {
        for (const QString& path : dialog->selectedFiles()) {
            paths.push_back(QDir::toNativeSeparators(path));
        }
    }
    return paths;
}

std::optional<QString> QtDesktop::BrowseForFolder(QWidget* parent, const FolderOptions& options) {
    const auto dialog = BuildFolderDialog(parent, options);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return WithoutTrailingSeparator(QDir::toNativeSeparators(dialog->selectedFiles().constFirst()));
}

void QtDesktop::MessageBeep() {
    QApplication::beep();
}

int QtDesktop::RunModal(QDialog& dialog) {
    return dialog.exec();
}

void QtDesktop::PopupMenu(QMenu& menu, const QPoint& screenPos) {
    menu.exec(screenPos);
}

bool QtDesktop::KeepsWindowsOnTop() const {
    // "wayland", "wayland-egl", "wayland-brcm": the Wayland platform under any of its names.
    return !QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

}  // namespace nagitori
