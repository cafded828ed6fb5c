#pragma once

namespace nagitori {

// Show commands the shell understands (the Windows values, passed through unchanged everywhere).
constexpr int kSwShowNormal = 1;
constexpr int kSwShowMaximized = 3;
constexpr int kSwShow = 5;
constexpr int kSwMinimize = 6;

// The window-size index of every window-size list: 0 minimized, 1 normal, 2 maximized.
// Returns false for any other index, so each caller decides what an out-of-range index means.
constexpr bool ShowCommandForIndex(int index, int& showCommand) {
    switch (index) {
        case 0: showCommand = kSwMinimize; return true;
        case 1: showCommand = kSwShowNormal; return true;
        case 2: showCommand = kSwShowMaximized; return true;
        default: return false;
    }
}

}  // namespace nagitori
