// The lanes and channels in memory: which channel serves a lane, the walk
// over active lanes, the line status a lane shows, and where a command goes.
#include "range/base/LaneTable.h"

#include "line/BVSerCom.h"
#include "range/lanes/CommandRouting.h"
#include "range/lanes/Commands.h"

#include <gtest/gtest.h>

namespace {

void Configure(PortRecord& p, int type, int first, int last)
{
    p.type = static_cast<uint8_t>(type);
    p.firstLane = static_cast<uint8_t>(first);
    p.lastLane = static_cast<uint8_t>(last);
}

}  // namespace

TEST(LaneTableTest, ChannelsByLaneRange)
{
    LaneTable lanes;
    PortTable ports;
    Configure(ports[0], 1, 1, 20);
    Configure(ports[1], 2, 15, 30);    // overlaps channel 0: the later one wins
    Configure(ports[2], 11, 0, 40);    // no first lane: not in use
    Configure(ports[3], 10, 90, 100);
    lanes[5].enabled = 1;
    lanes[5].lineStatus = LineStatus::kAnswers;
    lanes[5].targetRelay = 3;
    lanes.AssignChannels(ports);

    struct Case {
        int lane;
        int channel, type;
    };
    const Case cases[] = {{1, 0, 1}, {14, 0, 1}, {15, 1, 2}, {30, 1, 2}, {31, 0, 0},
                          {40, 0, 0}, {89, 0, 0}, {90, 3, 10}, {100, 3, 10}};
    for (const Case& k : cases) {
        EXPECT_EQ(lanes[k.lane].channel, k.channel) << k.lane;
        EXPECT_EQ(lanes[k.lane].channelType, k.type) << k.lane;
    }
    // The lanes start over: not enabled, no contact, no relay reported.
    EXPECT_EQ(lanes[5].enabled, 0);
    EXPECT_EQ(lanes[5].lineStatus, LineStatus::kNoContact);
    EXPECT_EQ(lanes[5].targetRelay, -1);
    EXPECT_EQ(lanes[5].targetCompetition, -1);
}

TEST(LaneTableTest, WalksIncludeLane100)
{
    LaneTable lanes;
    for (int lane : {3, 50, 99, 100}) {
        lanes[lane].channelType = lane == 50 ? 10 : 1;
        lanes[lane].enabled = 1;
    }
    lanes[7].channelType = 1;  // served but not enabled
    lanes[8].enabled = 1;      // enabled but no channel

    std::vector<int> active;
    for (int lane = lanes.NextActiveLane(0); lane != 0; lane = lanes.NextActiveLane(lane))
        active.push_back(lane);
    EXPECT_EQ(active, (std::vector<int>{3, 50, 99, 100}));
    std::vector<int> line;
    for (int lane = lanes.NextLineLane(0); lane != 0; lane = lanes.NextLineLane(lane))
        line.push_back(lane);
    EXPECT_EQ(line, (std::vector<int>{3, 99, 100}));

    EXPECT_EQ(lanes.NextActiveLane(-1), 100);
    EXPECT_EQ(lanes.NextLineLane(-1), 100);
    EXPECT_EQ(lanes.NextActiveLane(100), 0);
    EXPECT_FALSE(lanes.IsActive(0));
    EXPECT_FALSE(lanes.IsActive(101));
}

TEST(LineStatusTest, RatedFromTheSlotCounters)
{
    using namespace LineStatus;
    struct Case {
        const char* what;
        uint8_t old;
        SlotCounts counts;
        bool warning;
        int lineState;
        uint8_t status;
    };
    auto good = [](uint32_t failures) {
        SlotCounts c;
        c.okPoll = 10;
        c.failures = failures;
        return c;
    };
    SlotCounts neverGood;
    neverGood.failedPoll = 3;
    neverGood.failures = 3;
    SlotCounts silent;  // nothing happened yet

    const Case cases[] = {
        {"never reached", kAnswers, neverGood, false, 2, kNoContact},
        {"nothing exchanged yet", kNoContact, silent, false, 2, kPending},
        {"back after a loss", kNoContact, good(0), false, 2, kPending},
        {"still lost", kNoContact, good(5), false, 2, kNoContact},
        {"waiting, answers", kPending, good(0), false, 2, kPending},
        {"waiting, 20 failures", kPending, good(20), false, 2, kPendingFailing},
        {"waiting, 21 failures", kPendingFailing, good(21), false, 2, kPendingFailingLong},
        {"waiting, 50 failures", kPending, good(50), false, 2, kPendingFailingLong},
        {"waiting, 51 failures keep", kPendingFailing, good(51), false, 2, kPendingFailing},
        {"waiting, 100 failures", kPendingFailingLong, good(100), false, 2, kNoContact},
        {"answers", kFailing, good(0), false, 2, kAnswers},
        {"1 failure", kAnswers, good(1), false, 2, kFailing},
        {"21 failures", kFailing, good(21), false, 2, kFailingLong},
        {"99 failures keep", kFailingLong, good(99), false, 2, kFailingLong},
        {"100 failures", kFailingLong, good(100), false, 2, kNoContact},
        {"warning shot", kAnswers, good(0), true, 2, kShotWarning},
        {"warning shot, failing", kAnswers, good(3), true, 2, kFailing},
        {"warning gone", kShotWarning, good(0), false, 2, kAnswers},
        {"adapter not ready", kAnswers, good(0), false, 0, kAdapterNotReady},
        {"adapter firmware", kAnswers, good(0), false, 1, kAdapterFirmware},
        {"adapter ready again", kAdapterNotReady, good(0), false, 2, kAnswers},
    };
    for (const Case& k : cases)
        EXPECT_EQ(RateLineStatus(k.old, k.counts, k.warning, k.lineState), k.status) << k.what;
}

TEST(LineStatusTest, MarkedWhenACommandGoesOut)
{
    using namespace LineStatus;
    struct Case {
        uint8_t old;
        bool simulation;
        int type;
        int value;
        uint8_t status;
    };
    const Case cases[] = {
        {kSimulated, false, 1, 128, kPending}, {kAnswers, false, 1, 128, kPending},
        {kFailing, false, 1, 128, kPendingFailing}, {kFailingLong, false, 11, 128, kFailingLong},
        {kNoContact, false, 1, 128, kNoContact}, {kShotWarning, false, 1, 128, kShotWarning},
        {kSimulated, true, 1, 128, kPending}, {kPending, true, 1, 128, kPending},
        {kPendingFailing, true, 1, 128, kPendingFailing}, {kNoContact, true, 1, 128, kNoContact},
        {kAnswers, false, 10, 1, kOutside}, {kAnswers, false, 10, 4, kPending},
    };
    for (const Case& k : cases)
        EXPECT_EQ(MarkedLineStatus(k.old, k.simulation, k.type, k.value), k.status)
            << int(k.old) << " sim " << k.simulation << " type " << k.type;
}

// Lines that are open without a bus: routing only looks at whether a channel
// has an open line.
class RouteCommandTest : public testing::Test {
protected:
    void SetUp() override
    {
        Configure(ports[0], 1, 1, 10);
        Configure(ports[1], 2, 11, 20);
        Configure(ports[2], 12, 21, 30);  // USB
        Configure(ports[3], 10, 31, 40);  // outside system
        lanes.AssignChannels(ports);
        for (int k : {0, 1, 2}) {
            ports[k].line = std::make_unique<CBVSerCom>();
            ports[k].state = PortState::Open;
        }
        ports[3].state = PortState::Open;
        for (int lane : {2, 5, 12, 25, 35})
            lanes[lane].enabled = 1;
    }

    std::string Route(int lane, uint8_t flags)
    {
        Routing r = RouteCommand(lane, flags, lanes, ports);
        std::string out;
        for (const Delivery& d : r.deliveries)
            out += "c" + std::to_string(d.channel) + ":" + std::to_string(d.lane) + " ";
        for (int l : r.noLine)
            out += "none:" + std::to_string(l) + " ";
        return out + "-> " + std::to_string(r.result);
    }

    LaneTable lanes;
    PortTable ports;
};

TEST_F(RouteCommandTest, Table)
{
    struct Case {
        const char* what;
        int lane;
        uint8_t flags;
        const char* route;
    };
    const Case cases[] = {
        {"one lane", 5, 0, "c0:5 -> 5"},
        {"one lane on the second bus", 12, 0x80, "c1:12 -> 12"},
        {"a USB lane", 25, 0, "c2:25 -> 25"},
        {"disabled lane", 6, 0, "-> 0"},
        {"disabled lane, even so", 6, Cmd::kEvenDisabled, "c0:6 -> 6"},
        {"outside-system lane", 35, Cmd::kEvenDisabled, "-> 0"},
        {"lane without a channel", 50, Cmd::kEvenDisabled, "-> 0"},
        {"lane 0 alone", 0, 0, "-> 0"},
        {"every lane", 0, Cmd::kEveryLane, "c0:2 c0:5 c1:12 c2:25 -> 25"},
        {"every line", 0, Cmd::kEveryLine, "c0:0 c1:0 c2:0 -> 0"},
        {"every line of a lane's channel", 12, Cmd::kEveryLine, "c1:0 -> 0"},
        {"every line of a channel-less lane", 50, Cmd::kEveryLine, "-> 0"},
        {"lane 101", 101, 0, "-> 0"},
    };
    for (const Case& k : cases)
        EXPECT_EQ(Route(k.lane, k.flags), k.route) << k.what;
}

TEST_F(RouteCommandTest, ChannelThatDidNotOpen)
{
    ports[1].state = PortState::Failed;
    ports[1].line.reset();
    EXPECT_EQ(Route(12, 0), "none:12 -> 0");
    EXPECT_EQ(Route(0, Cmd::kEveryLane), "c0:2 c0:5 c2:25 none:12 -> 25");
    EXPECT_EQ(Route(0, Cmd::kEveryLine), "c0:0 c2:0 -> 0");
}
