// The checks every message from the target units passes: the length table,
// where it may come from, and the reading of the lane-state message.
#include "range/lanes/TargetMessages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace {

LineMessage Message(uint8_t command, int length, int lane = 5, uint8_t address = 0x85)
{
    LineMessage m;
    std::memset(&m, 0, sizeof m);
    m.data[0] = static_cast<uint8_t>(length);
    m.data[1] = address;
    m.data[2] = 0x40;
    m.data[3] = command;
    m.data[4] = static_cast<uint8_t>(lane);
    return m;
}

}  // namespace

TEST(InboundLengthTest, EveryCommandByteAgainstItsMinimum)
{
    // The shortest message the range control takes, per command byte; every
    // other command byte is refused whatever its length.
    const std::map<int, int> minimum = {
        {'C', 16},  {'L', 5},   {'N', 16},  {'P', 5},   {'Y', 24},  {0x86, 10}, {0x87, 26}, {0x88, 10}, {0x90, 4},
        {0x92, 8},  {0x93, 8},  {0x94, 6},  {0xA1, 6},  {0xA2, 10}, {0xB2, 5},  {0xB3, 15}, {0xB4, 12},
    };
    for (int command = 0; command < 256; ++command) {
        auto it = minimum.find(command);
        SCOPED_TRACE(command);
        if (it == minimum.end()) {
            EXPECT_EQ(FindInbound(static_cast<uint8_t>(command)), nullptr);
            EXPECT_FALSE(IsLongEnough(Message(static_cast<uint8_t>(command), 255)));
            continue;
        }
        EXPECT_EQ(MinimumLength(Message(static_cast<uint8_t>(command), 0)), it->second);
        EXPECT_FALSE(IsLongEnough(Message(static_cast<uint8_t>(command), it->second - 1)));
        EXPECT_TRUE(IsLongEnough(Message(static_cast<uint8_t>(command), it->second)));
    }
    EXPECT_EQ(InboundCommands().size(), minimum.size());
}

TEST(InboundLengthTest, ShotWithItsDataNeedsFiftyBytes)
{
    struct Case {
        uint8_t kind;
        int length;
        bool accepted;
    };
    const Case cases[] = {
        {0x20, 16, false}, {0x20, 49, false}, {0x20, 50, true}, {0x21, 50, true},
        {0x2F, 49, false}, {0x00, 16, true},  {0x01, 15, false}, {0x10, 16, true},
    };
    for (const Case& k : cases) {
        LineMessage m = Message('C', k.length);
        m.data[5] = k.kind;
        EXPECT_EQ(IsLongEnough(m), k.accepted) << int(k.kind) << "/" << k.length;
    }
}

TEST(InboundOriginTest, LaneChannelAndMessagesToAll)
{
    const ChannelView serial{1, 3, 11, 100};   // COM3 serving lanes 11..100
    const ChannelView usb{2, 12, 1, 10};       // a USB adapter serving lanes 1..10
    struct Case {
        const char* what;
        ChannelView channel;
        uint8_t command;
        int lane;
        uint8_t address;
        int laneType;
        Origin origin;
    };
    const Case cases[] = {
        {"lane of the channel", serial, 0xB3, 11, 0x8B, 3, Origin::Accepted},
        {"lane 100", serial, 0xB3, 100, 0x88, 3, Origin::Accepted},
        {"lane 101", serial, 0xB3, 101, 0x89, 3, Origin::IllegalLane},
        {"lane 0", serial, 0xB3, 0, 0x80, 3, Origin::IllegalLane},
        {"lane of another channel", serial, 0xB3, 10, 0x8A, 12, Origin::InactiveLane},
        {"lane set up for another port", serial, 0xB3, 20, 0x94, 4, Origin::ForeignChannel},
        {"lane without a channel", serial, 0xB3, 20, 0x94, 0, Origin::ForeignChannel},
        {"USB takes any adapter's lane", usb, 0xB3, 5, 0x85, 11, Origin::Accepted},
        {"USB refuses a serial lane", usb, 0xB3, 5, 0x85, 3, Origin::ForeignChannel},
        {"serial refuses a USB lane", serial, 0xB3, 20, 0x94, 11, Origin::ForeignChannel},
        // To all units: only shots, lamps and shot files are taken.
        {"our own mode command read back", serial, 'r', 0, 0xBC, 3, Origin::NotForUs},
        {"lane state to all", serial, 0xB3, 20, 0xBC, 3, Origin::NotForUs},
        {"unknown command to all", serial, 0x01, 20, 0xBC, 3, Origin::NotForUs},
        {"shot to all", serial, 'C', 20, 0xBC, 3, Origin::Accepted},
        {"lamp to all", serial, 'N', 20, 0xFC, 3, Origin::Accepted},
        {"shot file to all", serial, 0xB4, 20, 0xBC, 3, Origin::Accepted},
        {"shot to all from lane 0", serial, 'C', 0, 0xBC, 3, Origin::IllegalLane},
    };
    for (const Case& k : cases)
        EXPECT_EQ(CheckOrigin(Message(k.command, 20, k.lane, k.address), k.channel, k.laneType), k.origin) << k.what;
}

TEST(LaneStateMsgTest, ShortAndExtendedMessages)
{
    LineMessage m = Message(0xB3, 15);
    m.data[5] = 0x81;  // extended and overview flags
    m.data[6] = 2;
    m.data[7] = 0x01;
    m.data[8] = 0x2C;
    m.data[9] = 4;
    m.data[11] = 7;
    m.data[12] = 0x21;
    m.data[16] = 99;   // beyond the message
    m.data[17] = 3;
    m.data[18] = 0xFF;
    m.data[19] = 0x38;
    m.data[20] = 0x01;
    m.data[21] = 0x02;
    for (int i = 0; i < 14; ++i)
        m.data[23 + i] = static_cast<uint8_t>(0x10 + i);
    m.data[37] = 2;

    LaneStateMsg s = LaneStateMsg::Parse(m);
    EXPECT_EQ(s.state, 2);
    EXPECT_EQ(s.relay, 300);
    EXPECT_EQ(s.series, 4);
    EXPECT_EQ(s.competition, 7);
    EXPECT_EQ(s.targetCode, 0x21);
    EXPECT_TRUE(s.sendOverview);
    EXPECT_EQ(s.field16, 0);
    EXPECT_FALSE(s.extended);
    EXPECT_EQ(s.valueSystem, 0);

    m.data[0] = 16;
    EXPECT_EQ(LaneStateMsg::Parse(m).field16, 99);
    m.data[0] = 36;
    EXPECT_FALSE(LaneStateMsg::Parse(m).extended);

    m.data[0] = 37;
    s = LaneStateMsg::Parse(m);
    ASSERT_TRUE(s.extended);
    EXPECT_EQ(s.valueSystem, 3);
    EXPECT_EQ(s.cardValue2, -200);
    EXPECT_EQ(s.cardValue, 0x0102);
    EXPECT_EQ(s.cardData[0], 0x10);
    EXPECT_EQ(s.cardData[13], 0x1D);
    EXPECT_EQ(s.sensitivity, 2);

    m.data[5] = 0x00;
    s = LaneStateMsg::Parse(m);
    EXPECT_FALSE(s.extended);
    EXPECT_FALSE(s.sendOverview);
}

TEST(StartupDifferenceTest, TargetsAgainstTheCompetition)
{
    struct Case {
        const char* what;
        uint8_t before;
        bool practice, enabled;
        int state, relay, laneRelay, competition, open;
        uint8_t after;
    };
    const Case cases[] = {
        {"competition, enabled, shooting", 1, false, true, 2, 4, 4, 3, 3, 0x00},
        {"competition, enabled, idle", 1, false, true, 0, 4, 4, 3, 3, 0x80},
        {"competition, disabled, shooting", 1, false, false, 2, 4, 4, 3, 3, 0x80},
        {"competition, disabled, idle", 1, false, false, 0, 4, 4, 3, 3, 0x00},
        {"other relay", 1, false, true, 2, 5, 4, 3, 3, 0x40},
        {"other relay while idle does not count", 1, false, false, 0, 5, 4, 3, 3, 0x00},
        {"other competition", 1, false, true, 0, 4, 4, 2, 3, 0x40},
        {"practice, shooting keeps the waiting bit", 1, true, false, 2, 4, 4, 0, 0, 0x81},
        {"practice, idle clears", 0x81, true, false, 0, 4, 4, 0, 0, 0x00},
        {"practice, other competition", 1, true, false, 0, 4, 4, 5, 0, 0x40},
    };
    for (const Case& k : cases)
        EXPECT_EQ(StartupDifference(k.before, k.practice, k.enabled, k.state, k.relay, k.laneRelay, k.competition,
                                    k.open),
                  k.after)
            << k.what;
}
