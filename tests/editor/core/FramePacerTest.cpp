// The idle loop's pacing: whole-millisecond timer waits that still keep the
// display's rate on average, never faster, and a slow rate while the window
// is not in use.
#include "core/FramePacer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ra7::editor {
namespace {

using namespace std::chrono;
using Clock = FramePacer::Clock;

TEST(FramePacing, ThePeriodFollowsTheDisplayAndTheWindowsUse)
{
    EXPECT_DOUBLE_EQ(FramePeriodMs(true, 60), 1000.0 / 60);
    EXPECT_DOUBLE_EQ(FramePeriodMs(true, 144), 1000.0 / 144);
    EXPECT_DOUBLE_EQ(FramePeriodMs(false, 144), 1000.0 / kInactiveFramesPerSecond);
    // A display that reports nothing sensible gets the usual rate.
    for (const double nonsense : {0.0, -60.0, 1.0, 10000.0, std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity()})
        EXPECT_DOUBLE_EQ(FramePeriodMs(true, nonsense), 1000.0 / kFallbackRefreshRate) << nonsense;
}

// Frames drawn whenever the timer of the last wait fires, taking `cost` each.
int framesInOneSecond(double periodMs, microseconds cost)
{
    FramePacer pacer;
    Clock::time_point now{};
    const Clock::time_point end = now + seconds(1);
    int frames = 0;
    while (now < end) {
        const Clock::time_point due = pacer.NextDue(now, periodMs);
        ++frames;
        now += cost;
        now += milliseconds(FramePacer::WaitMs(due, now));
        now = std::max(now, due);
    }
    return frames;
}

TEST(FramePacing, WholeMillisecondWaitsKeepTheRateWithoutExceedingIt)
{
    // 16.67 ms cannot be waited in whole milliseconds; the cadence still gives 60.
    EXPECT_EQ(framesInOneSecond(1000.0 / 60, microseconds(3000)), 60);
    EXPECT_EQ(framesInOneSecond(1000.0 / 144, microseconds(500)), 144);
    EXPECT_EQ(framesInOneSecond(1000.0 / kInactiveFramesPerSecond, microseconds(3000)),
              static_cast<int>(kInactiveFramesPerSecond));
}

TEST(FramePacing, ASlowFrameDoesNotMakeTheNextOnesHurry)
{
    FramePacer pacer;
    const Clock::time_point start{};
    const double period = 10;
    Clock::time_point due = pacer.NextDue(start, period);
    EXPECT_EQ(FramePacer::WaitMs(due, start), 10);
    // This frame starts 35 ms late: the next is one period after it, not at once.
    const Clock::time_point late = due + milliseconds(35);
    due = pacer.NextDue(late, period);
    EXPECT_EQ(FramePacer::WaitMs(due, late), 10);
    // A frame late by less than a period keeps the cadence.
    const Clock::time_point slightly = due + milliseconds(4);
    due = pacer.NextDue(slightly, period);
    EXPECT_EQ(FramePacer::WaitMs(due, slightly), 6);
}

TEST(FramePacing, AFrameAskedForEarlyStartsANewCadence)
{
    // Inactive: the next frame is 200 ms or more away; the window comes into use and
    // asks for a frame at once, after which frames follow at the full rate.
    FramePacer pacer;
    const Clock::time_point start{};
    Clock::time_point due = pacer.NextDue(start, 200);
    const Clock::time_point woken = start + milliseconds(30);
    due = pacer.NextDue(woken, 1000.0 / 60);
    EXPECT_EQ(FramePacer::WaitMs(due, woken), 17);
}

TEST(FramePacing, WaitsRoundUpAndNeverGoNegative)
{
    const Clock::time_point now{};
    EXPECT_EQ(FramePacer::WaitMs(now + microseconds(16667), now), 17);
    EXPECT_EQ(FramePacer::WaitMs(now, now), 0);
    EXPECT_EQ(FramePacer::WaitMs(now - milliseconds(5), now), 0);
}

} // namespace
} // namespace ra7::editor
