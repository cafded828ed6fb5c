#pragma once

#include <functional>

namespace nagitori {

// Runs Qt's event loop without user input until `done` answers true: the windows repaint, but no click or key
// reaches them, as while the Windows elevation prompt is open. `done` is asked every few milliseconds.
void WaitWithoutUserInput(const std::function<bool()>& done);

}  // namespace nagitori
