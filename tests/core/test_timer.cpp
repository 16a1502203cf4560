// The frame timer against an injected millisecond clock.
#include "engine/platform/win32/tns_win32_testing.h"
#include "engine/core/ctarnis.h"
#include "tests/support/test_support.h"

namespace {

DWORD g_now = 0;
DWORD fakeClock()
{
    return g_now;
}

class TimerTest : public tst::InScratchDir {
protected:
    void SetUp() override
    {
        g_now = 5000;
        TNS_SetClockSource(fakeClock, nullptr);
    }
    void TearDown() override { TNS_SetClockSource(nullptr, nullptr); }
};

TEST_F(TimerTest, DeltaIsClampedBetweenOneAnd300Ms)
{
    CTarnis t;
    g_now += 2000; // a two-second stall
    t.SYS_UpdateTimer();
    EXPECT_EQ(t.SYS_TimerGetDeltaMs(), 300);
    EXPECT_FLOAT_EQ(t.SYS_TimerGetDelta(), 0.3f);
    t.SYS_UpdateTimer(); // the clock did not advance
    EXPECT_EQ(t.SYS_TimerGetDeltaMs(), 1);
    EXPECT_FLOAT_EQ(t.SYS_TimerGetDelta(), 0.001f);
    g_now += 16;
    t.SYS_UpdateTimer();
    EXPECT_EQ(t.SYS_TimerGetDeltaMs(), 16);
}

TEST_F(TimerTest, ClockWrapAroundGivesTheRealDelta)
{
    g_now = 0xFFFFFFF0u;
    CTarnis t;
    t.SYS_UpdateTimer();
    g_now = 0x0000000Au; // 26 ms later, across the wrap
    t.SYS_UpdateTimer();
    EXPECT_EQ(t.SYS_TimerGetDeltaMs(), 26);
}

TEST_F(TimerTest, FpsCountsTheFramesOfEachCompletedSecond)
{
    CTarnis t;
    g_now -= 1; // the first update then sees exactly 10 ms, like every other
    for (int frame = 1; frame < 100; ++frame) {
        g_now += 10;
        t.SYS_UpdateTimer();
        ASSERT_EQ(t.SYS_TimerGetFPS(), 1) << "frame " << frame;
    }
    g_now += 10;
    t.SYS_UpdateTimer();
    EXPECT_EQ(t.SYS_TimerGetFPS(), 100);
    // The next second at 20 ms per frame counts 50.
    for (int frame = 0; frame < 50; ++frame) {
        g_now += 20;
        t.SYS_UpdateTimer();
    }
    EXPECT_EQ(t.SYS_TimerGetFPS(), 50);
}

TEST_F(TimerTest, FpsSecondDropsTheExcessOverOneSecond)
{
    CTarnis t;
    g_now -= 1;
    // 300 ms steps: the fourth step reaches 1200 ms, counts 4 frames and
    // starts the next second at 0, not at 200.
    for (int i = 0; i < 4; ++i) {
        g_now += 300;
        t.SYS_UpdateTimer();
    }
    EXPECT_EQ(t.SYS_TimerGetFPS(), 4);
    for (int i = 0; i < 3; ++i) {
        g_now += 300;
        t.SYS_UpdateTimer();
    }
    EXPECT_EQ(t.SYS_TimerGetFPS(), 4) << "900 ms into the second, not yet complete";
    g_now += 300;
    t.SYS_UpdateTimer();
    EXPECT_EQ(t.SYS_TimerGetFPS(), 4);
}

} // namespace
