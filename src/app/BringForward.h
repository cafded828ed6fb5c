#pragma once

#include "app/ActivationContext.h"

class QWidget;

namespace nagitori {

// Brings `window` forward with the keyboard focus for a request of the user's: un-minimized, shown, raised and
// activated with the request's context, so that a window manager that prevents focus stealing takes it as the
// user's own action (X11: the context's time; Wayland: its activation token). Without a context it is still
// asked for, and the window manager decides.
void BringForward(QWidget& window, const ActivationContext& context);

}  // namespace nagitori
