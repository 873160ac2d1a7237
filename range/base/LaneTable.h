#pragma once
// The range control's lanes and line channels: one LaneBlock per lane 1..100
// with everything the range control knows about the lane (its channel, its
// line status, its card, name and shots in memory, its sums and the state its
// target reported), and one PortRecord per line channel. The range's objects
// hold both, and every part of the program reaches them through those.
#include "foundation/comp/DataComp.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CBVSerCom;
class CVI9001;

// Line status of a lane, as the lane list shows it.
namespace LineStatus {
enum : uint8_t {
    kSimulated = 0,          // idle in simulation mode
    kAnswers = 1,            // no failures since the last good exchange
    kFailing = 2,            // 1 to 20 failures in a row
    kFailingLong = 3,        // 21 to 50
    kPending = 4,            // a command is not confirmed yet, or the lane is back after a loss
    kPendingFailing = 5,
    kPendingFailingLong = 6,
    kNoContact = 7,          // never reached, or 100 failures and more; also at start
    kShotWarning = 10,       // answers, and its last shot carried the warning bit
    kOutside = 11,           // a lane of the outside range system in contact
    kAdapterNotReady = 12,   // the USB line adapter is not ready
    kAdapterFirmware = 13,   // the USB line adapter takes new firmware
};
}  // namespace LineStatus

// The exchange counters of the lane's slot on its line, as read at one moment.
struct SlotCounts {
    uint32_t failures = 0;  // in a row
    uint32_t okReceive = 0, okSend = 0, okPoll = 0;
    uint32_t failedReceive = 0, failedSend = 0, failedPoll = 0;
};

// The line status after a look at the lane's slot. lineState is the line
// object's: 0 USB adapter not ready, 1 adapter taking firmware, 2 running.
// Runs of 51 to 99 failures leave the status as it was.
uint8_t RateLineStatus(uint8_t old, const SlotCounts& counts, bool shotWarning, int lineState);
// The line status of a lane a command is sent to (value as the sender gives,
// for lanes of the outside range system).
uint8_t MarkedLineStatus(uint8_t old, bool simulation, int channelType, int value);

struct LaneBlock {
    uint8_t channel = 0;        // 0..3
    uint8_t channelType = 0;    // of that channel; 0 when no channel serves the lane
    uint8_t enabled = 0;        // the lane takes part
    uint8_t rowMark = 0;        // its row of the lane list is to be redrawn
    uint8_t lineStatus = LineStatus::kNoContact;
    uint8_t settingsTaken = 0;
    // The lane's records as last read or written: which card it shows and
    // its series (the series state's bit 7: changed, still to be written),
    // the card, its name and its shots.
    ActiveRecord active{};
    CardRecord card{};
    NameRecord name{};
    ShotListRecord shots{};

    int32_t shotsCounterSeen = 0;
    int32_t cardCounter = 0;
    int16_t displayValues[100] = {};
    uint8_t displaySlots[100] = {};
    uint8_t displayMarks[100] = {};
    int32_t seriesSum = 0;
    int32_t total = 0;
    int32_t startScore = 0;
    int32_t shotsSum = 0;
    uint8_t currentSeriesCount = 0;
    uint8_t shotsPerSeries[29] = {};
    uint8_t place = 0;

    // What the target reported of itself.
    int16_t targetCompetition = -1;
    int16_t targetRelay = -1;
    int16_t targetState = 0;
    int16_t liftPosition = 0;   // '3' prone, '4' kneeling, '5' standing, 0 none
    int16_t targetField16 = 0;
    uint8_t shotWarning = 0;
    int16_t sensitivity = 0;    // 1..4
    uint8_t startupDifference = 0;

    int32_t pendingMode = 0;    // mode commands still to repeat until the target confirms
    int32_t cardCountdown = 0;  // ticks until the card summary goes out
    int32_t shotTimers[250] = {};
    int32_t fetchTimers[250] = {};
    int32_t fetchStates[250] = {};
    uint8_t cardCheckRequested = 0;
    uint8_t fetchRunning = 0;
    uint8_t printFlag = 0;
    int32_t printSeries = 0;
    int16_t printRelay = 0;     // relay of the card fetched for printing
    std::string lastText;       // the last line sent to the lane's monitor

    // Back to the state of a lane at start.
    void Reset() { *this = LaneBlock(); }
};

// A line channel's state: open and serving its lanes, closed, or failed to open.
enum class PortState { Open = 1, Closed = 2, Failed = 3 };

// One of the four line channels.
struct PortRecord {
    enum : int { kSerialFirst = 1, kSerialLast = 9, kOutsideSystem = 10, kUsbFirst = 11 };

    uint8_t type = 0;        // 0 not used, 1..9 COM1..COM9, 10 the outside range system, 11+ a USB line adapter
    PortState state = PortState::Closed;
    uint8_t firstLane = 0;
    uint8_t lastLane = 0;
    std::unique_ptr<CBVSerCom> line;  // of a serial or USB channel while open
    CVI9001* outside = nullptr;       // of an outside-system channel; the frame owns it
    char adapterName[32] = {};        // "BV1%05d" of a USB channel

    PortRecord();
    ~PortRecord();
    PortRecord(PortRecord&&) noexcept;
    PortRecord& operator=(PortRecord&&) noexcept;

    bool Configured() const { return type != 0 && firstLane != 0 && lastLane != 0; }
    bool Serves(int lane) const { return Configured() && lane >= firstLane && lane <= lastLane; }
    static bool IsSerial(int type) { return type >= kSerialFirst && type <= kSerialLast; }
    static bool IsUsb(int type) { return type >= kUsbFirst; }
    // A channel of target lines, serial or USB (not the outside system).
    static bool IsLine(int type) { return IsSerial(type) || IsUsb(type); }
};

using PortTable = std::array<PortRecord, 4>;

// f(CVI9001&) for the outside range system of every channel that has one open.
template <typename F>
void ForEachOutsideSystem(PortTable& ports, F f)
{
    for (PortRecord& p : ports)
        if (p.type == PortRecord::kOutsideSystem && p.outside)
            f(*p.outside);
}

class LaneTable {
public:
    static constexpr int kFirstLane = 1;
    static constexpr int kLastLane = 100;

    LaneTable();

    // Block 0 is no lane (its pending-mode counter times the mode repeats).
    LaneBlock& operator[](int lane) { return m_blocks[lane]; }
    const LaneBlock& operator[](int lane) const { return m_blocks[lane]; }

    void ResetAll();
    static bool IsLane(int lane) { return lane >= kFirstLane && lane <= kLastLane; }
    // A lane takes part when a channel serves it and it is enabled.
    bool IsActive(int lane) const;
    // The next active lane after lane, or 0; a negative lane gives the highest.
    int NextActiveLane(int lane) const;
    // The same over lanes of serial or USB channels.
    int NextLineLane(int lane) const;

    // Every lane back to no channel and no contact, then each lane to the
    // last configured channel (in channel order) whose range holds it.
    void AssignChannels(const PortTable& ports);

private:
    template <typename Test> int Next(int lane, Test test) const;

    std::vector<LaneBlock> m_blocks;
};
