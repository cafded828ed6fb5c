#pragma once

#include <QIcon>

#include "platform/System.h"

namespace nagitori {

// The icon the desktop names: the first of the theme names the icon theme has, else the image file; a null icon
// when neither exists.
QIcon ThemeIcon(const IconReference& reference);

}  // namespace nagitori
