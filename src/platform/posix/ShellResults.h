#pragma once

namespace nagitori::posix {

// Failure results of this backend beside those every caller tells apart, with the Windows values they stand for.
// A failure without a Windows code of its own: the shell's "out of memory or resources".
constexpr int kShellOutOfResources = 0;
// Parameters that cannot be handed to the program (a list too long for the system): ERROR_INVALID_DATA.
// Not "file not found": the target may be fine, and callers show their general failure text for this one.
constexpr int kShellInvalidParameters = 13;

}  // namespace nagitori::posix
