#pragma once

#include <QString>
#include <exception>
#include <utility>

#include "platform/Desktop.h"

namespace nagitori {

// The text of the general error box: the error's text, with "." added when its last character
// sorts above ".".
QString GeneralErrorText(const QString& message);

// Shows the general error box for an error no handler caught.
void ShowGeneralError(Desktop& desktop, QWidget* parent, const std::exception& error);

// Runs a handler; an error escaping it ends the action and is shown in the general error box,
// so nothing reaches Qt's event loop. Returns false when the handler failed.
template <typename Handler>
bool RunGuarded(Desktop& desktop, QWidget* parent, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const std::exception& error) {
        ShowGeneralError(desktop, parent, error);
        return false;
    }
}

}  // namespace nagitori
