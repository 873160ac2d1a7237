#include "range/lanes/TargetMessages.h"

#include <algorithm>
#include <cstring>

namespace {

// What each message must hold at least. A shot message with its data (byte 5
// with bit 0x20) carries the coordinates, times and sensor levels up to byte 49.
constexpr InboundCommand kInbound[] = {
    {Msg::kShot, "ShotMsg", 16, 50, true},
    {Msg::kLiftState, "LiftStateMsg", 5, 0, false},
    {Msg::kLight, "LightMsg", 16, 0, true},
    {Msg::kPing, "", 5, 0, false},
    {Msg::kMonitorPrint, "MonitorPrintMsg", 24, 0, false},
    {Msg::kUnitVersion, "UnitVersionMsg", 10, 0, false},
    {Msg::kUnitStatus, "UnitStatusMsg", 26, 0, false},
    {Msg::kSensitivity, "SensitivityMsg", 10, 0, false},
    {Msg::kReport90, "", 4, 0, false},
    {Msg::kLaneNotice, "LaneNoticeMsg", 8, 0, false},
    {Msg::kLaneNotice2, "LaneNoticeMsg", 8, 0, false},
    {Msg::kReport94, "", 6, 0, false},
    {Msg::kSeriesChange, "SeriesChangeMsg", 6, 0, false},
    {Msg::kLaneRefresh, "LaneRefreshMsg", 10, 0, false},
    {Msg::kModeAck, "ModeAckMsg", 5, 0, false},
    {Msg::kLaneState, "LaneStateMsg", 15, 0, false},
    {Msg::kShotFile, "ShotFileMsg", 12, 0, true},
};

int Get16BE(const LineMessage& m, int at) { return (m.data[at] << 8) | m.data[at + 1]; }

}  // namespace

std::span<const InboundCommand> InboundCommands() { return kInbound; }

const InboundCommand* FindInbound(uint8_t command)
{
    for (const InboundCommand& c : kInbound)
        if (c.command == command)
            return &c;
    return nullptr;
}

int MinimumLength(const LineMessage& m)
{
    const InboundCommand* c = FindInbound(m.data[3]);
    if (!c)
        return -1;
    if (c->minimumShot && (m.data[5] & 0x20))
        return c->minimumShot;
    return c->minimum;
}

bool IsLongEnough(const LineMessage& m)
{
    int minimum = MinimumLength(m);
    return minimum >= 0 && m.data[0] >= minimum;
}

bool IsToAll(const LineMessage& m) { return (m.data[1] & 0x3F) == 0x3C; }

Origin CheckOrigin(const LineMessage& m, const ChannelView& channel, int laneChannelType)
{
    if (IsToAll(m)) {
        // Our own commands to all units come back this way too.
        const InboundCommand* c = FindInbound(m.data[3]);
        if (!c || !c->fromAll)
            return Origin::NotForUs;
    }
    int lane = LaneOf(m);
    if (lane < Msg::kFirstLane || lane > Msg::kLastLane)
        return Origin::IllegalLane;
    if (lane < channel.firstLane || lane > channel.lastLane)
        return Origin::InactiveLane;
    // A USB adapter may serve lanes set up for any adapter.
    bool bothUsb = channel.type >= 11 && laneChannelType >= 11;
    if (laneChannelType != channel.type && !bothUsb)
        return Origin::ForeignChannel;
    return Origin::Accepted;
}

LaneStateMsg LaneStateMsg::Parse(const LineMessage& m)
{
    LaneStateMsg s;
    s.length = m.data[0];
    s.extended = s.length >= 37 && (m.data[5] & 0x01);
    s.sendOverview = (m.data[5] & 0x80) != 0;
    s.state = m.data[6];
    s.relay = Get16BE(m, 7);
    s.series = m.data[9];
    s.competition = m.data[11];
    s.targetCode = m.data[12];
    s.field16 = s.length >= 16 ? m.data[16] : 0;
    if (s.extended) {
        s.valueSystem = m.data[17];
        s.cardValue2 = static_cast<int16_t>(Get16BE(m, 18));
        s.cardValue = static_cast<int16_t>(Get16BE(m, 20));
        std::memcpy(s.cardData, m.data + 23, sizeof s.cardData);
        s.sensitivity = m.data[37];
    }
    return s;
}

uint8_t StartupDifference(uint8_t flags, bool practice, bool enabled, int targetState, int messageRelay,
                          int laneRelay, int messageCompetition, int openCompetition)
{
    if (practice)
        flags = targetState != 0 ? static_cast<uint8_t>(flags | 0x80) : 0;
    else
        flags = (targetState == 0) == enabled ? 0x80 : 0;
    if ((targetState != 0 && messageRelay != laneRelay) || messageCompetition != openCompetition)
        flags = 0x40;
    return flags;
}
