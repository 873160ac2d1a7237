#include "platform/system/Clock.h"
#include "platform/system/EventSet.h"
#include "platform/system/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include <pthread.h>

using namespace platform;

TEST(EventSet, ManualResetEventsStaySetAndTheLowestWins)
{
    EventSet events(8);
    events.Set(5);
    events.Set(3);
    EXPECT_EQ(events.WaitAny(0xFF, 0), 3);
    EXPECT_EQ(events.WaitAny(0xFF, 0), 3);  // still set: nobody reset it
    EXPECT_EQ(events.WaitAny(1u << 5, 0), 5);
    EXPECT_EQ(events.WaitAnyAndReset(0xFF, 0), 3);
    EXPECT_EQ(events.WaitAnyAndReset(0xFF, 0), 5);
    EXPECT_EQ(events.WaitAny(0xFF, 0), -1);
    events.Set(7);
    EXPECT_EQ(events.WaitAny(0x7F, 0), -1);  // not among those waited for
    EXPECT_TRUE(events.IsSet(7));
    events.Set(40);  // outside the set: ignored
    events.ResetAll();
    EXPECT_FALSE(events.IsSet(7));
}

TEST(EventSet, WaitsAreBoundedAndWokenFromAnotherThread)
{
    EventSet events(4);
    int64_t start = MonotonicUs();
    EXPECT_EQ(events.WaitAny(0xF, 30000), -1);
    int64_t waited = MonotonicUs() - start;
    EXPECT_GE(waited, 25000);
    EXPECT_LT(waited, 2000000);

    Thread setter;
    ASSERT_EQ(setter.Start("setter", ThreadPriority::Normal, false, [&] {
        SleepMs(20);
        events.Set(2);
    }), 0);
    start = MonotonicUs();
    EXPECT_EQ(events.WaitAny(0xF, 10000000), 2);
    EXPECT_LT(MonotonicUs() - start, 5000000);
    setter.Join();

    Event one;
    EXPECT_FALSE(one.Wait(0));
    one.Set();
    EXPECT_TRUE(one.Wait(0));
    EXPECT_TRUE(one.IsSet());
    one.Reset();
    EXPECT_FALSE(one.IsSet());
}

TEST(Thread, RunsNamedAndAcceptsAPriorityItMayNotGet)
{
    std::string name;
    std::atomic<bool> ran{false};
    Thread t;
    ASSERT_EQ(t.Start("bvline3-rx-and-more", ThreadPriority::Highest, true, [&] {
        char buffer[32] = {};
        pthread_getname_np(pthread_self(), buffer, sizeof buffer);
        name = buffer;
        ran = true;
    }), 0);
    EXPECT_EQ(t.Start("again", ThreadPriority::Normal, false, [] {}), EBUSY);
    t.Join();
    EXPECT_TRUE(ran);
    EXPECT_EQ(name, "bvline3-rx-and-");  // 15 characters kept
    EXPECT_FALSE(t.Joinable());
}

TEST(Thread, SleepUntilCounterReachesTheCount)
{
    for (int ms : {1, 5, 20}) {
        int64_t target = HighResCounter() + static_cast<int64_t>(ms) * HighResFrequency() / 1000;
        SleepUntilCounter(target);
        EXPECT_GE(HighResCounter(), target) << ms;
    }
}
