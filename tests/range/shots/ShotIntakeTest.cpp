// Shot intake without a window: the checks of a shot message, what is stored,
// what is shown, and the lane text of a complete series.
#include "tests/range/RangeOnFolder.h"

#include "foundation/settings/CompSettings.h"
#include "range/shots/ShotRequests.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

struct Shot {
    int lane = 2;
    int kind = 0x20;
    int competition = 1;
    int relay = 1;
    int series = 1;
    int number = 1;
    int count = 1;  // shots and skips on the unit's card
    int value = 950;
    int state = 0x80;
    int flags = 0;
};

LineMessage Message(const Shot& s)
{
    LineMessage m;
    std::memset(&m, 0, sizeof m);
    uint8_t* d = m.data;
    d[0] = 50;
    d[1] = static_cast<uint8_t>(0x80 + s.lane);
    d[2] = 0x40;
    d[3] = 'C';
    d[4] = static_cast<uint8_t>(s.lane);
    d[5] = static_cast<uint8_t>(s.kind);
    d[6] = static_cast<uint8_t>(s.competition);
    d[7] = static_cast<uint8_t>(s.relay);
    d[8] = static_cast<uint8_t>(s.relay >> 8);
    d[9] = static_cast<uint8_t>(s.series);
    d[10] = static_cast<uint8_t>(s.number);
    d[11] = static_cast<uint8_t>(s.count);
    d[12] = static_cast<uint8_t>(s.series);
    d[17] = static_cast<uint8_t>(s.value);
    d[18] = static_cast<uint8_t>(s.value >> 8);
    d[26] = static_cast<uint8_t>(s.state);
    d[28] = 100;
    d[49] = static_cast<uint8_t>(s.flags);
    return m;
}

class ShotIntakeTest : public bvtest::RangeOnFolder {};

// Shots that fail a check are shown and not stored: the unit keeps them.
TEST_F(ShotIntakeTest, RefusedShots)
{
    struct Case {
        const char* name;
        std::function<void(Shot&)> change;
        const char* warning;
        int ticks;
        const char* log;
    };
    const Case cases[] = {
        {"another competition", [](Shot& s) { s.competition = 5; }, "Shot for the wrong competition", 150,
         "Illegal Competition at Lane=2 Msg=5 BVLeder=1"},
        {"another relay", [](Shot& s) { s.relay = 3; }, "Shot for the wrong relay", 150,
         "Illegal relay at Lane=2 Msg=3 BVLeder=1"},
        {"shot number 0", [](Shot& s) { s.number = 0; }, "Illegal series or shot number", 150, nullptr},
        {"series 29", [](Shot& s) { s.series = 29; }, "Illegal series or shot number", 150, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bvtest::TempFolder caseFolder;  // each case on a range folder of its own
        Open();
        Shot s;
        c.change(s);
        range->dispatcher.Dispatch(0, Message(s));
        EXPECT_EQ(Warning(), c.warning);
        EXPECT_EQ(services->statusTicks, c.ticks);
        if (c.log)
            EXPECT_NE(Log().find(c.log), std::string::npos);
        EXPECT_EQ(Stored(1, 2).shots[0].state, CDataComp::kSlotFree);
        // What the unit said of itself is kept all the same.
        EXPECT_EQ(Lane(2).targetRelay, s.relay);
        EXPECT_EQ(Lane(2).targetCompetition, s.competition);
        Close();
    }
}

TEST_F(ShotIntakeTest, StoredShots)
{
    Open();
    // A unit that reports its shot as a free slot still gets it stored as a
    // shot, and it is not asked for again.
    Shot first;
    first.state = 0;
    range->dispatcher.Dispatch(0, Message(first));
    ShotListRecord list = Stored(1, 2);
    EXPECT_EQ(list.shots[0].state, CDataComp::kSlotShot);
    EXPECT_EQ(static_cast<int>(list.shots[0].value), 950);
    EXPECT_EQ(list.shots[0].countingSeries, 1);
    // Marked shot by shot (no stored mark kind): the mark bit.
    EXPECT_EQ(static_cast<int>(list.shots[0].flags), 0x81);
    for (int32_t t : Lane(2).shotTimers)
        ASSERT_EQ(t, 0);
    EXPECT_EQ(Lane(2).cardCountdown, 100);
    EXPECT_EQ(tick.fileTouchCountdown, 10);

    // A shot beyond the unit's count of one leaves a gap that is asked for.
    Shot third;
    third.number = 3;
    third.count = 3;
    third.value = 1000;
    range->dispatcher.Dispatch(0, Message(third));
    list = Stored(1, 2);
    EXPECT_EQ(list.shots[1].state, CDataComp::kSlotSkipped);
    EXPECT_EQ(list.shots[2].state, CDataComp::kSlotShot);
    EXPECT_EQ(Lane(2).shotTimers[1], 15);

    // The same shot again is not stored twice.
    range->dispatcher.Dispatch(0, Message(third));
    list = Stored(1, 2);
    EXPECT_EQ(list.shots[3].state, CDataComp::kSlotFree);
}

TEST_F(ShotIntakeTest, MarkKindAndFrameShots)
{
    bvtest::RangeFolderSetup setup;
    Open(setup);
    CBVConfig& comp = objects->comp.CompConfig();
    WriteItem(comp, CompSettings::kMarkKind, 3);
    CompOptions options;
    options.Set(CompOptions::RemoveFrameShots, true);
    CompSettings::WriteOptions(comp, options);
    Shot frameShot;
    frameShot.flags = 0x08;
    range->dispatcher.Dispatch(0, Message(frameShot));
    ShotListRecord list = Stored(1, 2);
    // Blocked marking: no mark bit; a frame shot is kept but counts nowhere.
    EXPECT_EQ(static_cast<int>(list.shots[0].flags), 0x09);
    EXPECT_EQ(list.shots[0].countingSeries, 0);
}

TEST_F(ShotIntakeTest, PracticeLaneFollowsTheShootersRelay)
{
    bvtest::RangeFolderSetup setup;
    setup.competition = 0;
    Open(setup);
    Shot s;
    s.competition = 0;
    s.relay = 7;
    range->dispatcher.Dispatch(0, Message(s));
    EXPECT_EQ(Lane(2).active.relay, 7);
    EXPECT_EQ(Stored(7, 2).shots[0].state, CDataComp::kSlotShot);
    EXPECT_EQ(Stored(1, 2).shots[0].state, CDataComp::kSlotFree);
}

TEST_F(ShotIntakeTest, LaneWithoutRelayDropsTheShot)
{
    Open();
    Lane(2).active.relay = 0;
    Shot s;
    s.relay = 0;
    range->dispatcher.Dispatch(0, Message(s));
    EXPECT_EQ(Warning(), "Lane without a relay: shot dropped");
    EXPECT_EQ(services->statusTicks, 25);
}

// The competition's lane text goes to the monitor once the series is complete.
TEST_F(ShotIntakeTest, LaneTextWhenTheSeriesIsComplete)
{
    bvtest::RangeFolderSetup setup;
    setup.laneText = "Serie ferdig";
    Open(setup);
    Shot s;
    range->dispatcher.Dispatch(0, Message(s));
    EXPECT_EQ(Lane(2).lastText, "");
    EXPECT_EQ(Lane(2).shotsPerSeries[1], 1);
    s.number = 2;
    s.count = 2;
    range->dispatcher.Dispatch(0, Message(s));
    EXPECT_EQ(Lane(2).shotsPerSeries[1], 2);
    EXPECT_EQ(Lane(2).lastText, "Serie ferdig");
}

// A unit that sends a state byte that is neither a stored shot nor a free
// slot gets its shot stored as received: no gap opens behind it, and the
// lane draws no requests, however long the range runs.
TEST_F(ShotIntakeTest, OddStateByteDrawsNoRequests)
{
    for (int state : {5, 64, 16, 255}) {
        SCOPED_TRACE(state);
        bvtest::TempFolder caseFolder;  // each case on a range folder of its own
        Open();
        for (int number = 1; number <= 3; ++number) {
            Shot s;
            s.number = number;
            s.count = number;
            s.state = number == 2 ? state : 0x80;
            range->dispatcher.Dispatch(0, Message(s));
        }
        ShotListRecord list = Stored(1, 2);
        for (int slot = 0; slot < 3; ++slot)
            EXPECT_EQ(list.shots[slot].state, CDataComp::kSlotShot) << slot;
        EXPECT_EQ(list.shots[3].state, CDataComp::kSlotFree);
        // Two and a half minutes of ticks: no shot is ever asked for.
        int asked = 0;
        for (int t = 0; t < 750; ++t) {
            range->intake.LaneWork();
            for (int32_t timer : Lane(2).shotTimers)
                asked += timer == ShotRequests::WaitTicks(1) ? 1 : 0;
        }
        EXPECT_EQ(asked, 0);
        Close();
    }
}

// A state report carries no shot: the gaps up to the unit's count are asked for.
TEST_F(ShotIntakeTest, StateReportAsksForWhatIsMissing)
{
    Open();
    Shot one;
    range->dispatcher.Dispatch(0, Message(one));
    Shot report;
    report.kind = 0x10;
    report.count = 3;
    range->dispatcher.Dispatch(0, Message(report));
    ShotListRecord list = Stored(1, 2);
    EXPECT_EQ(list.shots[1].state, CDataComp::kSlotSkipped);
    EXPECT_EQ(list.shots[2].state, CDataComp::kSlotSkipped);
    EXPECT_EQ(Lane(2).shotTimers[1], 15);
    EXPECT_EQ(Lane(2).shotTimers[2], 17);
}

}  // namespace
