#pragma once

#include <functional>
#include <optional>

namespace nagitori::test {

// Runs the check in a child process as the unprivileged user nobody, which root may switch to: the child's
// answer, or nothing when this process is not root and so cannot switch.
std::optional<bool> RunAsNobody(const std::function<bool()>& check);

}  // namespace nagitori::test
