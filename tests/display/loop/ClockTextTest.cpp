// The shooting clock on the display: the text the header shows from the
// last clock message, and how the bytes a link received become that message.
#include <gtest/gtest.h>

#include "display/loop/DisplayClock.h"
#include "display/model/VisEvent.h"
#include "foundation/exchange/ClockMessage.h"
#include "platform/system/Clock.h"

namespace {

// A received buffer as the socket hands it out: count, bytes, zero.
std::vector<uint8_t> Buffer(const std::string& bytes)
{
    std::vector<uint8_t> b{static_cast<uint8_t>(bytes.size())};
    b.insert(b.end(), bytes.begin(), bytes.end());
    b.push_back(0);
    return b;
}

std::string Message(int mode, int period, int extra, int elapsed)
{
    ClockMessage m;
    m.computer = "BANE";
    m.prefix = "H1";
    m.mode = mode;
    m.period = period;
    m.extra = extra;
    m.elapsed = elapsed;
    return m.Build();  // with its zero byte
}

class ClockTextTest : public testing::Test {
protected:
    ClockTextTest() { platform::SetClock(&clock); }
    ~ClockTextTest() override { platform::SetClock(nullptr); }
    platform::ManualClock clock;
    CVisEvent event{1};
};

TEST_F(ClockTextTest, TextByModePeriodExtraAndElapsedTime)
{
    struct Case {
        int mode, period, extra;
        uint32_t elapsedTenths;
        const char* text;
    } cases[] = {
        {1, 1500, 0, 300, " 2:00"},       // the rest of the period, up to the whole second
        {1, 1500, 0, 1600, " 0:10"},      // past the period, counting up
        {2, 1500, 600, 1700, " 0:40"},    // the extra time counting down
        {1, 1500, 600, 2200, " 0:00"},    // the extra time over: no less than 0
        {1, 1500, -1, 1600, ""},          // no extra time and no counting up
        {1, 36000, 0, 9, " 1:00:00"},     // from an hour on with hours
        {1, 36000, 0, 10, "59:59"},
        {0, 1500, 600, 300, " 0:00"},     // stopped, whatever else
    };
    for (const Case& c : cases) {
        // Under the clock link's own arithmetic: a start tick counted back from now.
        clock.tick = 5'000'000;
        event.clockMode = c.mode;
        event.clockPeriod = c.period;
        event.clockExtra = c.extra;
        event.clockStartTick = clock.tick - c.elapsedTenths * 100;
        EXPECT_EQ(DisplayClock::Text(event, platform::TickCount()), c.text)
            << c.mode << " " << c.period << " " << c.extra << " " << c.elapsedTenths;
    }
    EXPECT_EQ(DisplayClock::Format(36000), " 1:00:00");
    EXPECT_EQ(DisplayClock::Format(-1), "");
}

TEST_F(ClockTextTest, TheStartTickCountsOnAcrossTheTickCountsWrap)
{
    clock.tick = 0xFFFFFF00u;
    ASSERT_NE(DisplayClock::Receive(event, {Buffer(Message(1, 1500, 0, 300))}, clock.tick), "");
    clock.Advance(60'000);  // wraps past 2^32
    EXPECT_EQ(DisplayClock::Text(event, platform::TickCount()), " 1:00");
}

TEST_F(ClockTextTest, BuffersAreJoinedOldestFirstAndTheNewestWholeMessageCounts)
{
    const std::string older = Message(1, 1200, 0, 100), newer = Message(1, 1200, 0, 150);
    clock.tick = 100'000;
    // Two messages in one read: the newer one counts.
    EXPECT_EQ(DisplayClock::Receive(event, {Buffer(older + newer)}, clock.tick), newer.substr(0, newer.size() - 1));
    EXPECT_EQ(event.clockStartTick, 100'000u - 15'000u);
    EXPECT_EQ(event.clockPending, "");

    // Two buffers, newest first as the socket hands them out: the one read
    // later holds the newer message.
    ASSERT_NE(DisplayClock::Receive(event, {Buffer(Message(2, 900, 300, 40)), Buffer(older)}, clock.tick), "");
    EXPECT_EQ(event.clockMode, 2);
    EXPECT_EQ(event.clockPeriod, 900);
    EXPECT_EQ(event.clockExtra, 300);

    // One message split over two reads: nothing until its end comes.
    const std::string split = Message(1, 600, 0, 20);
    EXPECT_EQ(DisplayClock::Receive(event, {Buffer(split.substr(0, 12))}, clock.tick), "");
    EXPECT_EQ(event.clockMode, 2) << "the last values stay";
    EXPECT_EQ(event.clockPending, split.substr(0, 12));
    EXPECT_NE(DisplayClock::Receive(event, {Buffer(split.substr(12))}, clock.tick), "");
    EXPECT_EQ(event.clockPeriod, 600);
    EXPECT_EQ(event.clockPending, "");
}

TEST_F(ClockTextTest, WhatIsNoClockMessageChangesNothing)
{
    ASSERT_NE(DisplayClock::Receive(event, {Buffer(Message(1, 1200, 0, 0))}, 1000), "");
    const std::string cases[] = {
        std::string("BANE.H1;TIME;1;600;0;0;") + '\0',   // another word
        std::string("BANE.H1;CLOCK;1;x;0;0;") + '\0',    // a number that is none
        std::string("garbage") + '\0',
        std::string(),                                   // nothing
    };
    for (const std::string& c : cases) {
        EXPECT_EQ(DisplayClock::Receive(event, {Buffer(c)}, 2000), "");
        EXPECT_EQ(event.clockPeriod, 1200);
        EXPECT_EQ(event.clockStartTick, 1000u);
    }
    // A sender that never ends its text is not kept for ever.
    for (int i = 0; i < 10; ++i)
        DisplayClock::Receive(event, {Buffer(std::string(200, 'x'))}, 3000);
    EXPECT_LE(event.clockPending.size(), DisplayClock::kMostPending);
    EXPECT_NE(DisplayClock::Receive(event, {Buffer(std::string(1, '\0') + Message(1, 300, 0, 0))}, 4000), "");
    EXPECT_EQ(event.clockPeriod, 300);
}

}  // namespace
