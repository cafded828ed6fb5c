#pragma once

#include <cstdint>
#include <string>

#include "common/WindowSize.h"

namespace nagitori {

// Everything one shell launch needs; filled afresh for every launch.
struct LaunchRequest {
    std::string verb;        // "open", "runas", or empty for the target's default action
    std::string target;      // program name, document, full path or URI
    std::string parameters;  // passed exactly as typed
    std::string directory;   // empty: the shell's default
    int showCommand = kSwShowNormal;
    std::uintptr_t parent = 0;  // native handle of the requesting window, 0 for none
};

// Results above 32 mean the shell accepted the request.
constexpr bool LaunchSucceeded(int result) {
    return result > 32;
}

// Failure results callers tell apart.
constexpr int kShellFileNotFound = 2;
constexpr int kShellPathNotFound = 3;
constexpr int kShellAccessDenied = 5;
constexpr int kShellOutOfMemory = 8;
constexpr int kShellBadFormat = 11;
constexpr int kShellDllNotFound = 32;
constexpr int kShellNoAssociation = 31;
constexpr int kShellSuccess = 42;

}  // namespace nagitori
