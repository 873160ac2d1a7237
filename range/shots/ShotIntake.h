#pragma once
// Shot intake: a shot from a target unit's message onto the shooting card
// and into the shot file, the gaps asked for again, the card summary by which
// the lane's monitor compares its card with ours, and the lane text when a
// series is complete.
#include "foundation/files/BVLog.h"
#include "line/LineMessage.h"

#include <string>

struct RangeObjects;
struct ShotRecord;
class FrameServices;
class TickCounters;
class LaneCommands;
class LaneRecords;
class LaneCards;
class FileChecks;
class ResultsExchange;

class ShotIntake {
public:
    // Ticks: a warning stays in the status bar for 30 s, a lost shot's for 5 s;
    // a lane's card summary follows 20 s after its last shot or request.
    static constexpr int kWarningTicks = 150;
    static constexpr int kLostShotTicks = 25;
    static constexpr int kCardSummaryTicks = 100;

    struct Links {
        LaneCommands& commands;
        LaneRecords& records;
        LaneCards& cards;
        FileChecks& files;
        ResultsExchange& exchange;
    };
    ShotIntake(RangeObjects& objects, FrameServices& services, TickCounters& tick, const Links& parts);

    // A shot message ('C') of a lane: a shot, or the state of the unit's
    // card. False for a shot the lane's monitor sends again while its card is
    // fetched for printing: that one is the print's (MonitorPrint).
    bool OnShotMsg(const LineMessage& m);
    // Stores a shot of the lane's relay on its card and in the shot file;
    // the record is the caller's.
    void StoreShot(int relay, int lane, ShotRecord& shot);
    // Asks the lane's target for the next shots missing on its card.
    void RequestMissingShots(int lane);
    void SendCardSummary(int lane);
    // The competition's lane text to the lane's monitor once the lane's
    // series (0: its current one) is complete; again only when it changed,
    // unless forced.
    void SendLaneText(int lane, int series, bool force);
    // Per active lane, each tick: the shot timers, the requests for missing
    // shots and the card summary.
    void LaneWork();

private:
    // The competition's text for the monitors when a series is complete.
    std::string LaneText();

    RangeObjects& m_obj;
    FrameServices& m_services;
    TickCounters& m_tick;
    Links m_links;
    CBVLog m_log;
};
