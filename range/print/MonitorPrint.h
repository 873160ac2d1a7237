#pragma once
// A card printed at a lane's request: the lane's monitor asks for its card
// to be printed ('Y'), the range control fetches the card's shots from it one
// by one (shot messages sent again, kind 0x21), asks again for the ones lost
// on the way, prints the card once every shot is there and tells the monitor
// that it is printed (0xA6). The monitor may abort at any time.
#include "foundation/files/BVLog.h"

#include <array>
#include <cstdint>
#include <memory>

struct LineMessage;
struct RangeObjects;
struct CardPrintJob;
class FrameServices;
class LaneCommands;
class ShotIntake;

// The card being fetched from a lane's monitor.
struct FetchedCard {
    static constexpr int kSeries = 28;
    static constexpr int kShots = 250;

    struct Shot {
        int series = 0;       // 1..28 as the monitor numbers them
        int value = 0;        // hundredths of a ring, with the value codes
        int32_t x = 0;        // micrometres
        int32_t y = 0;
        int32_t time = 0;     // the unit's time of the shot, hundredths of a second
        uint8_t run = 0;      // the target's run byte, + 0x80 for a shot turned away
        bool present = false; // fetched
    };

    int relay = 0;
    int series = 0;
    int targetType = 0;
    uint8_t seriesByte = 0;   // copied into every series of the printed card
    int value1 = 0;
    int value2 = 0;
    uint8_t mode = 0;
    uint8_t lastMarks = 0;    // the request's byte 29 as it came
    std::array<uint8_t, kSeries> marks{};   // per series, 4 bits each
    std::array<uint8_t, 4> markedSeries{};  // series whose mark has bit 3: bit 7 - s % 8 of byte s / 8
    int fetched = 0;
    std::array<Shot, kShots> shots{};
};

class MonitorPrint {
public:
    // The states of a shot being fetched, as the shot requests read them.
    static constexpr int kFetched = 128;
    static constexpr int kMissing = 254;
    static constexpr int kCardSummaryTicks = 100;

    MonitorPrint(RangeObjects& objects, FrameServices& services, LaneCommands& commands, ShotIntake& intake);
    ~MonitorPrint();

    // 'Y': the lane's monitor asks for its card to be printed, or aborts.
    void OnMonitorPrintMsg(const LineMessage& m);
    // A shot of the card being fetched.
    void OnFetchShot(const LineMessage& m);

    // The card being fetched from a lane; null when none.
    const FetchedCard* Buffer(int lane) const;
    // Every lane's buffer goes (the program closes).
    void FreeAll();

    // The printout of a fetched card: the lane's card with the monitor's
    // shots by series, headed as printed from the monitor.
    void MakeJob(int lane, const FetchedCard& card, CardPrintJob& job);

private:
    void Finish(int lane);
    void ShowLane(const char* key, int lane);

    RangeObjects& m_obj;
    FrameServices& m_services;
    LaneCommands& m_commands;
    ShotIntake& m_intake;
    CBVLog m_log;
    std::array<std::unique_ptr<FetchedCard>, 101> m_buffers;
};
