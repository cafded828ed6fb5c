#pragma once

#include <QWidget>
#include <functional>

namespace nagitori::test {

// Runs the action on the next modal dialog (or popup menu) once a blocking exec() has shown it. Gives up
// after two seconds, closing whatever is open, so that a failing test ends instead of hanging.
void WhenModalShown(std::function<void(QWidget&)> action);
void WhenPopupShown(std::function<void(QWidget&)> action);

}  // namespace nagitori::test
