#include "platform/qt/ThemeIcon.h"

#include <QFileInfo>

#include "common/Utf8Path.h"

namespace nagitori {

QIcon ThemeIcon(const IconReference& reference) {
    for (const std::string& name : reference.themeNames) {
        const QString themeName = QString::fromStdString(name);
        if (QIcon::hasThemeIcon(themeName)) {
            return QIcon::fromTheme(themeName);
        }
    }
    const QString file = QString::fromStdString(Utf8FromPath(reference.file));
    return !file.isEmpty() && QFileInfo(file).isFile() ? QIcon(file) : QIcon();
}

}  // namespace nagitori
