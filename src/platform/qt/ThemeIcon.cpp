#include "platform/qt/ThemeIcon.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>

#include "common/Utf8Path.h"

namespace nagitori {

namespace {

// Icon files hold a few kilobytes, large scalable ones some hundreds.
constexpr qint64 kMaxIconFileBytes = 4 * 1024 * 1024;
// Buttons and rows show 16 pixels; a little more keeps the picture sharp on a denser screen.
constexpr int kLargestSide = 64;

QImage ReadPicture(const QString& file) {
    // Only a regular file: a FIFO would never answer the read.
    const QFileInfo info(file);
    if (!info.isFile() || info.size() > kMaxIconFileBytes) {
        return {};
    }
    QFile image(file);
    if (!image.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray bytes = image.read(kMaxIconFileBytes + 1);
    if (bytes.size() > kMaxIconFileBytes) {
        return {};
    }
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    // A scalable picture is drawn at the size it is shown, never at a huge size of its own.
    const QSize size = reader.size();
    if (size.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize)) {
        reader.setScaledSize(size.scaled(kLargestSide, kLargestSide, Qt::KeepAspectRatio));
    }
    const QImage picture = reader.read();
    if (picture.width() > kLargestSide || picture.height() > kLargestSide) {
        return picture.scaled(kLargestSide, kLargestSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return picture;
}

}  // namespace

LoadedIcon LoadIcon(const IconReference& reference) {
    LoadedIcon icon;
    for (const std::string& name : reference.themeNames) {
        icon.themeNames.push_back(QString::fromStdString(name));
    }
    if (!reference.file.empty()) {
        icon.image = ReadPicture(QString::fromStdString(Utf8FromPath(reference.file)));
    }
    return icon;
}

QIcon ThemeIcon(const LoadedIcon& icon) {
    for (const QString& name : icon.themeNames) {
        if (QIcon::hasThemeIcon(name)) {
            return QIcon::fromTheme(name);
        }
    }
    return icon.image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(icon.image));
}

}  // namespace nagitori
