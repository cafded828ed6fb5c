#pragma once

#include <QIcon>

namespace nagitori {

// The program's icon for its main window, for screens of this device pixel ratio. Where nothing is scaled, the
// pictures drawn from the SVG when the program was built, at the sizes Qt would draw it for the window manager;
// elsewhere the SVG, drawn at the scaled sizes.
QIcon WindowIcon(qreal devicePixelRatio);

}  // namespace nagitori
