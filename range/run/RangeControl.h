#pragma once
// The range control's logic below its window, wired once: the line
// channels, the commands, the lanes' records and cards, the file checks, the
// exchange with the results program, the shot intake, the twin lane's sums,
// the simulation, the clock message and the dispatcher that feeds them. The
// main frame owns one and serves it (FrameServices); tests make one on a
// stand-in, without a window.
#include "range/exchange/ClockLink.h"
#include "range/exchange/ResultsExchange.h"
#include "range/lanes/Dispatcher.h"
#include "range/lanes/LaneCards.h"
#include "range/lanes/LaneCommands.h"
#include "range/lanes/LaneRecords.h"
#include "range/lanes/LineChannels.h"
#include "range/run/FileChecks.h"
#include "range/shots/OutsidePoll.h"
#include "range/shots/ShotIntake.h"
#include "range/shots/Simulation.h"
#include "range/shots/TwinSums.h"

struct RangeObjects;
class FrameServices;
class TickSchedule;

class RangeControl : private DispatchReceivers {
public:
    RangeControl(RangeObjects& objects, FrameServices& services, TickSchedule& tick);
    RangeControl(const RangeControl&) = delete;
    RangeControl& operator=(const RangeControl&) = delete;

    // In the order they are made; each uses only those above it.
    LineChannels channels;
    LaneCommands commands;
    LaneRecords records;
    LaneCards cards;
    ResultsExchange exchange;
    FileChecks files;
    ShotIntake intake;
    TwinSums sums;
    Simulation simulation;
    OutsidePoll outside;
    ClockLink clock;
    Dispatcher dispatcher;

    // The owners of what the dispatcher hands on, as wired here.
    DispatchReceivers& Receivers() { return *this; }

private:
    void OnShotMsg(const LineMessage& m) override { intake.OnShotMsg(m); }
    void RequestMissingShots(int lane) override { intake.RequestMissingShots(lane); }
    void SendLaneText(int lane, int series, bool force) override { intake.SendLaneText(lane, series, force); }
    void RecomputeLane(int lane) override { cards.RecomputeLane(lane); }
    void WriteActive(int lane, uint8_t series) override { records.WriteActive(lane, series); }
    void ReloadShotRecord(int relay, int lane, int count) override { records.ReloadShotRecord(relay, lane, count); }
    void SendCardOverview(int lane) override { records.SendCardOverview(lane); }
};
