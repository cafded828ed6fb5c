#pragma once

#include <QIcon>
#include <QImage>
#include <QStringList>

#include "platform/System.h"

namespace nagitori {

// An icon as read off the interface thread: the names to look up in the icon theme, best first, and the picture
// of its image file.
struct LoadedIcon {
    QStringList themeNames;
    QImage image;
};

// Reads the picture of the image file the reference names, when that is a regular file of a sensible size (a
// FIFO or a huge file there gives none). Safe on any thread.
LoadedIcon LoadIcon(const IconReference& reference);

// The icon to show: the first of the theme names the icon theme has, else the picture; a null icon when neither
// exists. Interface thread only, as the icon theme is.
QIcon ThemeIcon(const LoadedIcon& icon);

}  // namespace nagitori
