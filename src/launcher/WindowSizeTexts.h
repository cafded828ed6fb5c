#pragma once

namespace nagitori {

// The items of every window-size list, at their window-size indexes 0, 1 and 2.
inline constexpr const char* kWindowSizeTexts[] = {"最小化", "通常のサイズ", "最大化"};
inline constexpr int kWindowSizeCount = 3;

constexpr bool IsWindowSizeIndex(int index) {
    return index >= 0 && index < kWindowSizeCount;
}

}  // namespace nagitori
