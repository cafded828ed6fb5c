#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

#include "platform/qt/ResponsiveWait.h"

namespace nagitori {
namespace {

TEST(ResponsiveWait, RunsTheEventLoopUntilDone) {
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(10);
    QElapsedTimer clock;
    clock.start();
    WaitWithoutUserInput([&] { return clock.elapsed() >= 200; });
    EXPECT_GE(clock.elapsed(), 200);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_GE(ticks, 5) << "timers, and so repaints, stood still while waiting";

    int asked = 0;
    WaitWithoutUserInput([&asked] { return ++asked > 0; });
    EXPECT_EQ(asked, 1) << "already done: returns at once";
}

}  // namespace
}  // namespace nagitori
