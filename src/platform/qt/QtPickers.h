#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <memory>

#include "platform/Desktop.h"

class QWidget;

namespace nagitori {

// Qt name filters ("description (pattern pattern)") from a filter written "description|pattern;pattern",
// several pairs joined by further bars. "*.*" becomes "*": on Windows it matches every file, also one
// without an extension.
QStringList NameFiltersFromFilter(const QString& filter);

// The open-file dialog set up from the options, not yet shown.
std::unique_ptr<QFileDialog> BuildOpenFileDialog(QWidget* parent, const OpenFileOptions& options);

// The folder picker set up from the options, not yet shown.
std::unique_ptr<QFileDialog> BuildFolderDialog(QWidget* parent, const FolderOptions& options);

// A folder path without trailing separators; a root ("/", on Windows also "C:\" and "C:/") keeps its own.
QString WithoutTrailingSeparator(const QString& path);

}  // namespace nagitori
