#include "app/WindowIcon.h"

#include <QString>

namespace nagitori {

QIcon WindowIcon(qreal devicePixelRatio) {
    if (devicePixelRatio != 1.0) {
        return QIcon(QStringLiteral(":/nagitori.svg"));
    }
    // Drawing the SVG at four sizes held up every start by some milliseconds.
    QIcon icon;
    for (const int side : {NAGITORI_WINDOW_ICON_SIDES}) {
        icon.addFile(QStringLiteral(":/nagitori-%1.png").arg(side), QSize(side, side));
    }
    return icon;
}

}  // namespace nagitori
