// pacing_test.cpp: the main loop's fixed 16 ms schedule, replayed against a made-up clock.
#include <gtest/gtest.h>

#include <vector>

#include "app/loop.h"
#include "base/state.h"

namespace {

// Runs passes that each take the given number of milliseconds of work, paced by the same
// schedule step that ends every pass of the main loop, and records how long each one slept.
struct Replay {
    uint32_t clock;
    std::vector<uint32_t> sleeps;

    explicit Replay(uint32_t start) : clock(start) { game.nextFrameDue = start + FrameMs; }

    void pass(uint32_t work)
    {
        clock += work;
        uint32_t wait = advanceSchedule(clock);
        sleeps.push_back(wait);
        clock += wait;
    }
};

TEST(Pacing, QuickPassesSleepTheRestOfTheirSixteenMilliseconds)
{
    Replay replay(1000);
    for (int i = 0; i < 100; i++)
        replay.pass(3);
    for (uint32_t sleep : replay.sleeps)
        EXPECT_EQ(sleep, 13u);
    EXPECT_EQ(replay.clock, 1000u + 100 * FrameMs);  // 62.5 passes a second, no drift
}

TEST(Pacing, ALatePassIsMadeUpByPassesThatDoNotSleep)
{
    Replay replay(0);
    replay.pass(4);
    replay.pass(40);  // 24 ms over its slot
    for (int i = 0; i < 10; i++)
        replay.pass(4);
    // The 24 ms are made up by the next two passes (12 ms each), without moving the schedule.
    std::vector<uint32_t> expected = {12, 0, 0, 0, 12, 12, 12, 12, 12, 12, 12, 12};
    EXPECT_EQ(replay.sleeps, expected);
    EXPECT_EQ(game.nextFrameDue, 13 * FrameMs);
}

TEST(Pacing, WaitIsNeverNegativeAndSurvivesTheTickCounterWrapping)
{
    EXPECT_EQ(frameWait(100, 90), 10u);
    EXPECT_EQ(frameWait(100, 100), 0u);
    EXPECT_EQ(frameWait(100, 101), 0u);  // late: no wrap-around into a 49-day sleep
    EXPECT_EQ(frameWait(5, 0xFFFFFFF8u), 13u);  // due just after the counter wrapped
    EXPECT_EQ(frameWait(0xFFFFFFF0u, 5), 0u);   // late across the wrap

    Replay replay(0xFFFFFF00u);
    for (int i = 0; i < 40; i++)
        replay.pass(5);
    for (uint32_t sleep : replay.sleeps)
        EXPECT_EQ(sleep, 11u);
}

TEST(Pacing, AStallOfOverASecondRestartsTheSchedule)
{
    Replay replay(0);
    replay.pass(1000 + FrameMs);  // exactly 1000 ms behind: still caught up frame by frame
    EXPECT_EQ(game.nextFrameDue, 2 * FrameMs);
    EXPECT_EQ(replay.sleeps.back(), 0u);

    Replay stalled(0);
    stalled.pass(5000);  // a suspended machine
    EXPECT_EQ(game.nextFrameDue, 5000 + FrameMs);
    stalled.pass(2);
    EXPECT_EQ(stalled.sleeps.back(), 14u);  // back on a 16 ms rhythm at once
}

// The clock set back, by a step or by an hour (a time service, a person): no pass sleeps more
// than a pass (and the counter's millisecond), and a schedule further ahead starts again from
// the clock, back on its 16 ms rhythm at once. Within that, the schedule stands.
TEST(Pacing, AClockSetBackNeverHoldsAPassLongerThanAPass)
{
    EXPECT_EQ(frameWait(117, 100), 17u);
    EXPECT_EQ(frameWait(3600100, 100), 17u);   // never more, whatever the schedule says
    EXPECT_EQ(resyncSchedule(117, 100), 117u);
    EXPECT_EQ(resyncSchedule(118, 100), 100u);
    struct {
        uint32_t back;
        std::vector<uint32_t> sleeps;  // of the pass that finds the clock set back, and the next two
    } cases[] = {
        {1, {14, 13, 13}}, {4, {17, 13, 13}},  // as the classic library's counter may lag
        {5, {0, 13, 13}}, {3600000, {0, 13, 13}},
        {0x90000000u, {0, 13, 13}},  // more than half the counter's range reads as a stall
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.back);
        Replay replay(0x7FFFFFF0u);
        for (int i = 0; i < 5; i++)
            replay.pass(3);
        replay.clock -= c.back;
        for (int i = 0; i < 3; i++)
            replay.pass(3);
        std::vector<uint32_t> expected = {13, 13, 13, 13, 13};
        expected.insert(expected.end(), c.sleeps.begin(), c.sleeps.end());
        EXPECT_EQ(replay.sleeps, expected);
    }
}

}  // namespace
