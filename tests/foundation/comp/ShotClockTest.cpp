// The shooting-time clock on a clock that moves only when the test says so.
#include "foundation/comp/ShotClock.h"
#include "platform/system/Clock.h"

#include <gtest/gtest.h>

#include <climits>
#include <span>
#include <string>

namespace {

struct Moment {
    uint32_t ms;  // since Start
    const char* text;
    bool running;
};

class ShotClockTest : public testing::Test {
protected:
    void SetUp() override { platform::SetClock(&clock); }
    void TearDown() override { platform::SetClock(nullptr); }

    std::string Text(CShotClock& c)
    {
        char text[CShotClock::kTextSize];
        c.FormatTime(text);
        return text;
    }

    // Moves the clock to ms after the start of the timeline.
    void At(uint32_t ms)
    {
        ASSERT_GE(ms, elapsed);
        clock.Advance(ms - elapsed);
        elapsed = ms;
    }

    // Moves the clock through the moments; at each the text and the running
    // state must be as given.
    void Follow(CShotClock& c, std::span<const Moment> timeline)
    {
        for (const Moment& m : timeline) {
            At(m.ms);
            EXPECT_EQ(Text(c), m.text) << m.ms << " ms";
            EXPECT_EQ(c.IsRunning(), m.running) << m.ms << " ms";
        }
    }

    platform::ManualClock clock;
    uint32_t elapsed = 0;
};

}  // namespace

TEST_F(ShotClockTest, NewClockShowsZeroAndAsksToBeDrawn)
{
    CShotClock c;
    char text[CShotClock::kTextSize];
    EXPECT_NE(c.FormatTime(text), 0);
    EXPECT_STREQ(text, "0:00");
    EXPECT_FALSE(c.IsRunning());
    EXPECT_STREQ(c.GetStoredText(), " :  ");
    // Once the panel has drawn it, the same text asks for nothing.
    c.SetStoredText(text);
    EXPECT_EQ(c.FormatTime(text), 0);
    c.ResetStoredText();
    EXPECT_NE(c.FormatTime(text), 0);
    EXPECT_EQ(c.GetPeriodTenths(), 150);
    EXPECT_EQ(c.GetExtraTenths(), 0);
    EXPECT_EQ(c.GetRunningMode(), 1);
}

TEST_F(ShotClockTest, ModeOneCountsDownThenCountsTheOvertime)
{
    const Moment timeline[] = {
        {0, "0:15", true},      {500, "0:15", true},    {999, "0:15", true},    {1000, "0:14", true},
        {14000, "0:01", true},  {14999, "0:01", true},  {15000, "0:00", true},  {15999, "0:00", true},
        {16000, "0:01", true},  {75000, "1:00", true},  {615000, "10:00", true}, {3615000, "1:00:00", true},
    };
    CShotClock c;
    c.Set(15, 0, 1);
    c.Start();
    Follow(c, timeline);
}

TEST_F(ShotClockTest, ModeTwoCountsDownTheExtraPeriodAndStopsTwoSecondsLater)
{
    const Moment timeline[] = {
        {0, "1:00", true},      {59000, "0:01", true},  {59999, "0:01", true},  {60000, "0:30", true},
        {60999, "0:30", true},  {61000, "0:29", true},  {89999, "0:01", true},  {90000, "0:00", true},
        {91000, "0:00", true},  {91999, "0:00", true},  {92000, "0:00", false}, {200000, "0:00", false},
    };
    CShotClock c;
    c.Set(60, 30, 2);
    c.Start();
    Follow(c, timeline);
    // A clock that stopped itself starts again with its set values.
    c.Start();
    EXPECT_EQ(Text(c), "1:00");
}

TEST_F(ShotClockTest, PeriodOverIsFoundOnlyWhenTheTextIsAsked)
{
    // Nobody asked for the text during the period: the first look afterwards
    // still finds the right time.
    CShotClock c;
    c.Set(60, 30, 2);
    c.Start();
    At(75000);
    EXPECT_EQ(Text(c), "0:15");
    At(300000);
    EXPECT_EQ(Text(c), "0:00");
    EXPECT_FALSE(c.IsRunning());
}

TEST_F(ShotClockTest, AnHourLongPeriod)
{
    CShotClock c;
    c.Set(3600, 0, 1);
    c.Start();
    EXPECT_EQ(Text(c), "1:00:00");
    At(1000);
    EXPECT_EQ(Text(c), "59:59");
}

TEST_F(ShotClockTest, ToggleStopsAndStarts)
{
    CShotClock c;
    c.Set(20, 0, 1);
    c.Toggle();
    EXPECT_TRUE(c.IsRunning());
    At(5000);
    EXPECT_EQ(Text(c), "0:15");
    c.Toggle();
    EXPECT_FALSE(c.IsRunning());
    EXPECT_EQ(Text(c), "0:00");
    At(9000);
    c.Toggle();
    EXPECT_TRUE(c.IsRunning());
    EXPECT_EQ(Text(c), "0:20");
}

TEST_F(ShotClockTest, SetWhileRunningChangesOnlyWhatIsReported)
{
    CShotClock c;
    c.Set(60, 0, 1);
    c.Start();
    At(10000);
    c.Set(120, 45, 2);
    EXPECT_EQ(Text(c), "0:50");  // still counting the minute it started with
    EXPECT_EQ(c.GetPeriodTenths(), 1200);
    EXPECT_EQ(c.GetExtraTenths(), 450);
    EXPECT_EQ(c.GetSetMode(), 2);
    EXPECT_EQ(c.GetRunningMode(), 1);
    At(70000);
    EXPECT_EQ(Text(c), "0:10");  // overtime of mode 1
    c.Stop();
    EXPECT_EQ(c.GetRunningMode(), 2);
    c.Start();
    EXPECT_EQ(Text(c), "2:00");
}

TEST_F(ShotClockTest, ElapsedTenths)
{
    CShotClock c;
    // Never started: nothing has elapsed, whatever the tick says.
    clock.tick = 123456789;
    EXPECT_EQ(c.GetElapsedTenths(), 0u);

    // Across the wrap of the 32-bit millisecond tick.
    clock.tick = 0xFFFFFF00u;
    c.Start();
    At(1000);
    EXPECT_EQ(c.GetElapsedTenths(), 10u);
    EXPECT_LT(clock.tick, 1000u);
    At(65000);
    EXPECT_EQ(c.GetElapsedTenths(), 650u);

    // Stop keeps the start tick: a stopped clock goes on counting from the last Start.
    c.Stop();
    At(70000);
    EXPECT_EQ(c.GetElapsedTenths(), 700u);
}

TEST_F(ShotClockTest, SettingTheComputersClockDoesNotMoveTheCountdown)
{
    CShotClock c;
    c.Set(60, 0, 1);
    c.Start();
    At(10000);
    clock.now.hour -= 1;  // the officer sets the wall clock back an hour
    EXPECT_EQ(Text(c), "0:50");
    clock.now.hour += 3;
    At(20000);
    EXPECT_EQ(Text(c), "0:40");
}

TEST(ShotClock, FormatTenths)
{
    const std::pair<int, const char*> cases[] = {
        {-9, "0:00"},      {0, "0:00"},         {9, "0:00"},           {10, "0:01"},
        {599, "0:59"},     {600, "1:00"},       {35999, "59:59"},      {36000, "1:00:00"},
        {36599, "1:00:59"}, {360000, "10:00:00"}, {INT_MAX, "59652:19:24"},
    };
    for (auto [tenths, text] : cases) {
        char buffer[CShotClock::kTextSize];
        EXPECT_STREQ(CShotClock::FormatTenths(tenths, buffer), text) << tenths;
    }
}
