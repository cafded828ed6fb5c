#include "platform/qt/QtPickers.h"

#include <algorithm>
#include <vector>

#include <QFileInfo>
#include <QFileSystemModel>
#include <QRegularExpression>
#include <QSortFilterProxyModel>

#include "platform/qt/DialogPlacement.h"

namespace nagitori {

namespace {

#ifdef Q_OS_WIN
constexpr bool kHasDrives = true;
bool IsSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}
#else
// A backslash is part of a name here.
constexpr bool kHasDrives = false;
bool IsSeparator(QChar c) {
    return c == u'/';
}
#endif

// Both pickers are Qt's own dialog: it follows the application's Japanese translation and honours every
// option set here, where a native dialog speaks the desktop's language and ignores some of them.
std::unique_ptr<QFileDialog> NewDialog(QWidget* parent, const QString& title) {
    auto dialog = std::make_unique<QFileDialog>(parent, title);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    CentreOnOwnerWhenShown(*dialog);
    return dialog;
}

// Windows names its programs by extension; elsewhere a program is a file with execute permission and
// often no extension at all. A filter for Windows programs therefore also lists this system's programs.
class ProgramsAlsoProxy : public QSortFilterProxyModel {
public:
    ProgramsAlsoProxy(const QStringList& patterns, QObject* parent) : QSortFilterProxyModel(parent) {
        for (const QString& pattern : patterns) {
            patterns_.push_back(QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                                                   QRegularExpression::CaseInsensitiveOption));
        }
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* model = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (model == nullptr) {
            return true;
        }
        const QFileInfo info = model->fileInfo(model->index(row, 0, parent));
        if (info.isDir() || info.isExecutable()) {
            return true;
        }
        return std::any_of(patterns_.begin(), patterns_.end(), [&info](const QRegularExpression& pattern) {
            return pattern.match(info.fileName()).hasMatch();
        });
    }

private:
    std::vector<QRegularExpression> patterns_;
};

bool IsWindowsProgramPattern(const QString& pattern) {
    static const QStringList kProgramPatterns = {QStringLiteral("*.exe"), QStringLiteral("*.bat"),
                                                 QStringLiteral("*.cmd"), QStringLiteral("*.com")};
    return kProgramPatterns.contains(pattern, Qt::CaseInsensitive);
}

// Lets the only filter of a Windows-programs picker also show this system's executable files.
void ListProgramsToo(QFileDialog& dialog) {
    const QStringList nameFilters = dialog.nameFilters();
    if (nameFilters.size() != 1) {
        return;
    }
    const QString& filter = nameFilters.front();
    const qsizetype open = filter.lastIndexOf(u'(');
    if (open < 0 || !filter.endsWith(u')')) {
        return;
    }
    const QStringList patterns = filter.mid(open + 1).chopped(1).split(u' ', Qt::SkipEmptyParts);
    if (patterns.isEmpty() || !std::all_of(patterns.begin(), patterns.end(), IsWindowsProgramPattern)) {
        return;
    }
    // The model shows every file; the proxy keeps folders, the patterns and executable files.
    dialog.setNameFilters({filter.left(open + 1) + patterns.join(u' ') + QStringLiteral(" *)")});
    dialog.setProxyModel(new ProgramsAlsoProxy(patterns, &dialog));
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
#ifndef Q_OS_WIN
    ListProgramsToo(*dialog);
#endif
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
    const bool driveRoot = kHasDrives && end == 2 && path[1] == u':' && path[0].isLetter();
    return path.left(driveRoot ? end + 1 : end);
}

}  // namespace nagitori
