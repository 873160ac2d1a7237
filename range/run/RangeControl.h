#pragma once
// The range control's logic below its window, wired once: the line
// channels, the commands, the lanes' records and cards, the file checks, the
// exchange with the results program, the shot intake, the twin lane's sums,
// the simulation, the outside system, the clock message, the dispatcher that
// feeds them, the super-final marks and the card a monitor asks to print. It
// does the logic's half of every tick. The main frame owns one and serves it
// (FrameServices); tests make one on a stand-in, without a window.
#include "range/exchange/ClockLink.h"
#include "range/exchange/ResultsExchange.h"
#include "range/lanes/Dispatcher.h"
#include "range/lanes/FileChecks.h"
#include "range/lanes/LaneCards.h"
#include "range/lanes/LaneCommands.h"
#include "range/lanes/LaneRecords.h"
#include "range/lanes/LineChannels.h"
#include "range/lanes/ShotFlags.h"
#include "range/print/MonitorPrint.h"
#include "range/run/TickSchedule.h"
#include "range/shots/OutsidePoll.h"
#include "range/shots/ShotIntake.h"
#include "range/shots/Simulation.h"
#include "range/shots/TwinSums.h"

struct RangeObjects;
class FrameServices;

class RangeControl : private DispatchReceivers, private TickLogic {
public:
    RangeControl(RangeObjects& objects, FrameServices& services, TickCounters& tick);
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
    ShotFlags shotFlags;
    MonitorPrint monitorPrint;

    // The competition's files read again after a command changed them: the
    // lanes' records, cards and names (force: every lane's), their shot
    // lists, the views rebuilt and the rows that changed redrawn.
    void ReadFilesAgain(bool forceCheck, bool forceReload);
    // Everything afresh (F5): every lane reset, the files read again whole,
    // the names imported, every view rebuilt.
    void RefreshAll();

    // The owners of what the dispatcher hands on, as wired here.
    DispatchReceivers& Receivers() { return *this; }
    // The logic's half of the tick.
    TickLogic& TickSteps() { return *this; }

private:
    void OnShotMsg(const LineMessage& m) override;
    void OnMonitorPrintMsg(const LineMessage& m) override { monitorPrint.OnMonitorPrintMsg(m); }
    void RequestMissingShots(int lane) override { intake.RequestMissingShots(lane); }
    void SendLaneText(int lane, int series, bool force) override { intake.SendLaneText(lane, series, force); }
    void RecomputeLane(int lane) override { cards.RecomputeLane(lane); }
    void WriteActive(int lane, uint8_t series) override { records.WriteActive(lane, series); }
    void ReloadShotRecord(int relay, int lane, int count) override { records.ReloadShotRecord(relay, lane, count); }
    void SendCardOverview(int lane) override { records.SendCardOverview(lane); }

    void SendStartupMode() override;
    void ResetAllLanes() override { commands.ResetAllLanes(); }
    int Competition() override;
    bool RepeatModes() override { return commands.RepeatModes(); }
    void LaneWork() override { intake.LaneWork(); }
    void DispatchMessages() override { dispatcher.DispatchMessages(); }
    void PollOutsideSystem() override { outside.PollOutsideSystem(); }
    void SimulationStep() override { simulation.Step(); }
    void ReloadRangeConfig() override { files.ReloadRangeConfig(); }
    int CheckFiles(bool force) override { return files.CheckFiles(force); }
    int ReloadShots(bool force) override { return files.ReloadShots(force); }
    void RefreshChangedRows() override { files.RefreshChangedRows(); }
    void SendSums() override { sums.SendSums(); }
    void TouchFiles() override { files.TouchFiles(); }

    RangeObjects& m_obj;
    FrameServices& m_services;
};
