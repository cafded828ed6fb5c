#pragma once

#include <functional>
#include <string>
#include <vector>

namespace nagitori::posix {

// Keeps the program responsive while it waits: runs the event loop (without user input to our windows) and
// returns once `done` answers true, which it asks between iterations.
using WaitUntil = std::function<void(const std::function<bool()>& done)>;

// A WaitUntil without a toolkit: iterates GLib's default main context.
void IterateMainContextUntil(const std::function<bool()>& done);

// Starts argv (pkexec, then what it is to run) as our own child, since pkexec refuses an orphaned parent, and
// returns only once the password prompt has been answered, as the Windows elevation prompt does:
// kShellSuccess when pkexec has handed over to the program (it execs it), kShellAccessDenied when it gave up
// (exit status 126 or 127: refused, dismissed, or no authentication agent).
int SpawnElevated(const std::vector<std::string>& argv, const std::string& directory, const WaitUntil& wait);

}  // namespace nagitori::posix
