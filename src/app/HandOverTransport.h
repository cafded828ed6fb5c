#pragma once

#include <chrono>
#include <memory>
#include <string>

// What each platform gives the hand-over: the start-up lock and the question to the running copy.
namespace nagitori {

// The lock beside the socket or pipe named `socketPath`, waited for up to `bound`; null when it cannot be had in
// time. It is held until the last owner lets go of it.
std::shared_ptr<void> LockBeside(const std::string& socketPath, std::chrono::milliseconds bound);

// True when a copy serves on `socketPath`, takes the request and answers it within `bound`.
bool AskRunningCopy(const std::string& socketPath, const std::string& request, std::chrono::milliseconds bound);

// Letters, digits, '.', '_' and '-' only, so that a display or user name makes a safe part of a file name.
std::string SafeName(std::string text);

}  // namespace nagitori
