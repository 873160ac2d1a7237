#pragma once
// What the target units send the range control, and the checks every message
// passes before its handler sees it: where it comes from (the lane, and the
// channel serving that lane) and whether it is long enough for its command.
// The dispatcher of the main frame runs these checks; they are kept here,
// apart from any window, as tables.
//
// Bytes of a received message: [0] length n, [1] address byte (low six bits
// 0x3C for a message to all), [3] command, [4] lane, [5..n] payload.
#include "line/LineMessage.h"

#include <cstdint>
#include <span>

namespace Msg {

enum : uint8_t {
    kShot = 'C',
    kLiftState = 'L',
    kLight = 'N',
    kPing = 'P',
    kMonitorPrint = 'Y',
    kUnitVersion = 0x86,
    kUnitStatus = 0x87,
    kSensitivity = 0x88,
    kReport90 = 0x90,
    kLaneNotice = 0x92,
    kLaneNotice2 = 0x93,
    kReport94 = 0x94,
    kSeriesChange = 0xA1,
    kLaneRefresh = 0xA2,
    kModeAck = 0xB2,
    kLaneState = 0xB3,
    kShotFile = 0xB4,
};

// The lane numbers a message may carry.
inline constexpr int kFirstLane = 1;
inline constexpr int kLastLane = 100;

}  // namespace Msg

// One command byte the range control takes from the units.
struct InboundCommand {
    uint8_t command;
    const char* name;
    uint8_t minimum;        // shortest length accepted
    uint8_t minimumShot;    // 'C' only: when byte 5 has bit 0x20 (a shot with its data)
    bool fromAll;           // also taken when sent to all units
};

// Every command byte taken, in byte order.
std::span<const InboundCommand> InboundCommands();
// The entry of a command byte, or null for one the range control does not take.
const InboundCommand* FindInbound(uint8_t command);
// The shortest length the message may have; -1 for a command byte not taken
// (such a message counts as too short).
int MinimumLength(const LineMessage& m);
bool IsLongEnough(const LineMessage& m);

// The channel a message came in on.
struct ChannelView {
    int index = 0;
    int type = 0;       // PortRecord type
    int firstLane = 0;
    int lastLane = 0;
};

enum class Origin {
    Accepted,
    NotForUs,        // to all units and not one of the few taken so; dropped without a word
    IllegalLane,     // lane outside 1..100
    InactiveLane,    // lane outside the channel's lanes
    ForeignChannel,  // the lane is served by a channel of another type
};

bool IsToAll(const LineMessage& m);
// laneChannelType is the channel type the lane table holds for the message's
// lane (only read when the lane is 1..100).
Origin CheckOrigin(const LineMessage& m, const ChannelView& channel, int laneChannelType);
// The lane a message names, byte 4.
inline int LaneOf(const LineMessage& m) { return m.data[4]; }
inline int CommandOf(const LineMessage& m) { return m.data[3]; }

// The target's own view of its lane (0xB3).
struct LaneStateMsg {
    int length = 0;
    bool extended = false;       // bytes 17 to 37 are there and meant
    bool sendOverview = false;   // the monitor wants the card overview
    int state = 0;               // 0 idle
    int relay = 0;
    int series = 0;
    int competition = 0;
    int targetCode = 0;          // as the units number target types
    int field16 = 0;             // 0 when the message is shorter
    // The extended part, stored on the card as delivered.
    int valueSystem = 0;
    int16_t cardValue = 0;       // bytes 20 and 21
    int16_t cardValue2 = 0;      // bytes 18 and 19
    uint8_t cardData[14] = {};   // bytes 23 to 36
    int sensitivity = 0;         // byte 37

    static LaneStateMsg Parse(const LineMessage& m);
};

// The start-up difference bits of a lane after its lane-state message
// arrived while the start-up question (or the exit countdown) waits:
// bit 7 the target's idle state does not fit the lane's taking part, bit 6
// the target shoots another relay or competition. ResetAllLanes sets 1 for
// every active lane, meaning "not heard yet"; in the practice competition
// that bit stays.
uint8_t StartupDifference(uint8_t flags, bool practice, bool enabled, int targetState, int messageRelay,
                          int laneRelay, int messageCompetition, int openCompetition);
