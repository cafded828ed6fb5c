#include "platform/qt/QtPickers.h"

#include <QFileInfo>

namespace nagitori {

namespace {

bool IsSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

// Both pickers are Qt's own dialog: it follows the application's Japanese translation and honours every
// option set here, where a native dialog speaks the desktop's language and ignores some of them.
std::unique_ptr<QFileDialog> NewDialog(QWidget* parent, const QString& title) {
    auto dialog = std::make_unique<QFileDialog>(parent, title);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    return dialog;
}

bool IsExistingFolder(const QString& path) {
    const QFileInfo info(path);
    return info.isAbsolute() && info.isDir();
}

}  // namespace

QStringList NameFiltersFromFilter(const QString& filter) {
    QStringList nameFilters;
    const QStringList parts = filter.split(u'|');
    // A description left without patterns at the end is ignored, as Windows does.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            if (!trimmed.isEmpty()) {
                patterns.push_back(trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
            }
        }
        if (patterns.isEmpty()) {
            continue;
        }
        // Qt reads the patterns from the last parenthesised group, so a description holding its own
        // (full-width) parentheses is left intact.
        nameFilters.push_back(parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    return nameFilters;
}

std::unique_ptr<QFileDialog> BuildOpenFileDialog(QWidget* parent, const OpenFileOptions& options) {
    auto dialog = NewDialog(parent, options.title);
    // The description already names its patterns; the combo box shows it alone, as Windows does.
    dialog->setOption(QFileDialog::HideNameFilterDetails, true);
    dialog->setNameFilters(NameFiltersFromFilter(options.filter));
    // The existing-file modes require the folder and the files to exist. Qt's dialog has no read-only
    // check box to hide (its ReadOnly option only forbids renaming and deleting in the dialog).
    dialog->setFileMode(options.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (IsExistingFolder(options.initialFolder)) {
        dialog->setDirectory(options.initialFolder);
    }
    if (!options.initialFileName.isEmpty()) {
        dialog->selectFile(options.initialFileName);
    }
    return dialog;
}

std::unique_ptr<QFileDialog> BuildFolderDialog(QWidget* parent, const FolderOptions& options) {
    auto dialog = NewDialog(parent, options.prompt);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly, true);
    // A read-only model is Qt's documented way to take the new-folder button (and its menu entry) away.
    dialog->setOption(QFileDialog::ReadOnly, !options.newFolderButton);
    if (IsExistingFolder(options.startFolder)) {
        dialog->setDirectory(options.startFolder);
    }
    return dialog;
}

QString WithoutTrailingSeparator(const QString& path) {
    qsizetype end = path.size();
    while (end > 0 && IsSeparator(path[end - 1])) {
        --end;
    }
    if (end == path.size()) {
        return path;
    }
    if (end == 0) {
        return path.left(1);
    }
    const bool driveRoot = end == 2 && path[1] == u':' && path[0].isLetter();
    return path.left(driveRoot ? end + 1 : end);
}

}  // namespace nagitori
