#include <gtest/gtest.h>

#include "common/WindowSize.h"

namespace nagitori {
namespace {

TEST(WindowSize, MapsTheThreeIndicesAndRefusesOthers) {
    struct Case {
        int index;
        bool known;
        int showCommand;
    };
    for (Case c : {Case{0, true, 6}, Case{1, true, 1}, Case{2, true, 3}, Case{-1, false, 0}, Case{3, false, 0},
                   Case{5, false, 0}}) {
        int showCommand = 0;
        EXPECT_EQ(ShowCommandForIndex(c.index, showCommand), c.known) << c.index;
        EXPECT_EQ(showCommand, c.showCommand) << c.index;
    }
}

}  // namespace
}  // namespace nagitori
