#pragma once
// The range control's main frame: it owns the line channels, takes what the
// target units send and hands it to the handlers, and sends every command of
// the program to the targets. Everything runs on the user-interface thread;
// the line threads meet it only in the queues of the line objects.
//
// The frame works without a screen (the tests run it so); CreateWindowFrame
// gives it its window, whose status bar the status texts go to.
#include "foundation/files/BVLog.h"
#include "foundation/settings/CompOptions.h"
#include "foundation/files/ConfigItem.h"
#include "line/LineMessage.h"
#include "range/ui/DlgAsk.h"
#include "range/lanes/LaneTable.h"
#include "range/run/RangeObjects.h"
#include "range/shots/ShotSimulator.h"
#include "range/lanes/TargetMessages.h"
#include "range/run/TickSchedule.h"

#include <QPointer>

#include <memory>
#include <string>

class CBVSocket;

namespace platform {
class FrameWnd;
}

class CMainFrame : public TickWork {
public:
    // Window messages of the frame.
    static constexpr int WM_DISPATCH = 0x8000 + 1;  // take the received messages now

    // Status-bar panes: warnings go to pane 1, information to pane 2.
    static constexpr int kWarningPane = 1;
    static constexpr int kInfoPane = 2;

    // The dispatcher takes at most this many messages per channel and call.
    static constexpr int kMaxSweeps = 6;

    explicit CMainFrame(RangeObjects& objects);
    virtual ~CMainFrame();
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // The frame window with its status bar; made once.
    platform::FrameWnd* CreateWindowFrame();
    platform::FrameWnd* Window() const;

    RangeObjects& Objects() { return m_obj; }

    // ---- Start, run and close
    // The frame's first focus arms the start-up on the first tick.
    void OnSetFocus();
    // The start-up of the first tick: opens the competition, the lines and
    // the clock link; the competition opened, or -1.
    int Startup() override;
    // Closes the program, or first asks whether the targets should go to the
    // practice competition.
    void CloseFrame(bool noQuestion);
    // The range configuration's computer name: this computer's, or empty.
    void SetComputerName(bool set);
    // Makes competition n's folder and settings as a copy of the open one's.
    void CreateCompetition(int n);
    // Timer 1.
    void OnTick() { m_tick.OnTick(*this); }
    // The program was closed (its window is gone).
    bool Closed() const { return m_closed; }
    // The program's command line as typed; the word after the program's
    // name may start the workshop mode.
    std::string commandLine;
    static bool IsProductionMode(const std::string& commandLine);
    // The range goes over to the practice competition.
    void SwitchToPractice();
    LaneTable& Lanes() { return m_obj.lanes; }
    PortTable& Ports() { return m_obj.ports; }

    // ---- Lanes and line channels
    // Closes and opens the four channels from the range configuration.
    void OpenPorts();
    void ClosePorts();
    int NextActiveLane(int lane) const { return m_obj.lanes.NextActiveLane(lane); }
    int NextLineLane(int lane) const { return m_obj.lanes.NextLineLane(lane); }
    // The line status of a lane a command goes to.
    void MarkLane(int lane, uint8_t value);
    // Rates every serial or USB lane from its slot's counters.
    void UpdateLineStatus();
    bool Simulation() const { return m_simulation; }
    bool OutsideSystemOpen() const { return m_outsideSystem; }

    // ---- Receive dispatcher
    void DispatchMessages() override;
    // Checks and handles one message as taken from a channel.
    void Dispatch(int channel, const LineMessage& m);
    // Writes the lane's series into its active record; lane 0 clears the
    // record of the final marking.
    void WriteActive(int lane, uint8_t series);
    // Marks the gaps of the lane's shots up to the count its target holds,
    // on the card as stored, so they can be asked for.
    virtual void ReloadShotRecord(int relay, int lane, int count);
    void ShowStatusKey(const char* key);
    void ShowStatusText(const std::string& text);
    void ShowStatusKeys(const char* key1, const char* key2, const char* text);

    // ---- Outgoing commands
    // Routes a command: to one lane, every active lane (kEveryLane) or once to
    // every open line (kEveryLine). The lane sent to, or 0.
    int SendCommand(int lane, const LineMessage& message, uint8_t flags);
    void SendMode(int mode, int lane, uint8_t flags);
    void ResetAllLanes() override;
    void SendLaneSetup(int lane, uint8_t flags);
    void SendProgram(int lane, uint8_t flags);
    void SendText(int lane, const std::string& text);
    // The lane's card as we have it, for its monitor; lane 0 for every active lane.
    virtual void SendCardOverview(int lane);
    void DeleteMonitorCard(int lane);
    void SendZoom(int lane, int level);
    void SendMotor(int lane, int value);
    void SendStatusQuery();
    void SendLight(int lane, const int intensity[3]);
    void SendShoot(int lane, int value);
    void SendLift(int lane, int position);
    void OnToggleStop();

    // ---- The tick's work (the tick decides when)
    int CheckFiles(bool force) override;
    int ReloadShots(bool force) override;
    void RefreshViews() override;
    void RefreshChangedRows() override;
    void TouchFiles() override;
    void SimulationStep() override;

    // ---- Shot intake
    // Stores a shot of the lane's relay on its card and in the shot file;
    // the record is the caller's.
    virtual void StoreShot(int relay, int lane, ShotRecord& shot);
    void SendCardSummary(int lane);
    // One step of the sums shown shot by shot on the twin lane; the marking
    // command of the twin lane starts it at the lane and series given.
    void SendSums() override;
    void StartSums(int lane, int series);

    // ---- Cards in the frame
    void TakeLaneSettings(int lane);
    void StoreLaneSettings(int lane);
    virtual void RecomputeLane(int lane);

    // ---- Exchange with the results program
    // Exports the results of relays first..last (0..0 each lane's own) from
    // the first lane on, at most `shooters`; 0 when exported, else -1.
    int SendResults(int firstRelay, int lastRelay, int firstLane, int shooters, const char* text = nullptr);
    // The export of the send results command.
    void SendOfficeResults();
    // Takes the shooters' names from the results program: every active lane,
    // or the one lane given; 1 when imported.
    int ImportNames(int laneLimit);

    // ---- Clock link
    void SendClock() override;
    void OnSocketMessage(intptr_t socket, intptr_t event);

    // ---- Simulation
    // Shots for a lane (0: every lane) of a kind 0..3 (0 moves the band on).
    void SimulateShots(int lane, int kind);
    // The target type of the lane's card, the mixed type resolved by series.
    int EffectiveTargetType(int lane);
    ShotSimulator m_simulator;

    // ---- Question box
    void Ask(int type);
    void OnAskAnswer(int value);
    void AskProgress() override;
    CDlgAsk* AskBox() const { return m_askBox; }

    // ---- What the tick and the commands share
    TickSchedule m_tick;
    int m_askType = 0;           // question box: 0 none, 1 start-up, 2 exit, 3 exit countdown
    uint32_t m_clockStartTick = 0;  // tick count when the shooting clock was last started

    // The clock link's server, made on the frame's window by the start-up;
    // opening the lines starts it on the clock port, closing them stops it.
    std::unique_ptr<CBVSocket> m_socket;
    int m_clockPort = 8888;

    // The open competition's number (-1 none, 0 the practice competition),
    // its settings (each with its default while none is open), and the range
    // configuration's.
    int CompetitionNumber() const;
    int CompInt(const ConfigIntItem& item);
    CompOptions Options() const;
    int RangeInt(const ConfigIntItem& item);

protected:
    // ---- Work of the shot intake, the cards, the views and the dialogs,
    // reached from the dispatcher and the commands.
    virtual void OnShotMsg(const LineMessage& m);
    virtual void OnMonitorPrintMsg(const LineMessage& m);
    virtual void OnLightMsg(const LineMessage& m);
    virtual void OnUnitMsg(const LineMessage& m);
    virtual void RequestMissingShots(int lane);
    virtual void SendLaneText(int lane, int series, bool force);
    virtual void CloseAsk();
    virtual void OnAskCountdown();
    virtual void RedrawRow(int lane);
    void RefreshPanel() override;
    // The lane list ranks the lanes while it shows their places.
    virtual void RankLanes();
    // The competition choice command: the officer picks the competition the
    // range works on, which it writes to the range configuration.
    virtual void OnCompetitionChoice();
    // A shot the lane's monitor sends while its card is fetched for printing.
    virtual void OnFetchShot(const LineMessage& m);

    // ---- The rest of the tick's work
    void ArmTimer(int milliseconds) override;
    void KillTimer() override;
    void SendStartupMode() override;
    void AskStartup() override;
    int Competition() override { return CompetitionNumber(); }
    void CloseWithoutQuestion() override { CloseFrame(true); }
    void ShowMonitorFrames() override;
    bool AskCountdownEnd() override;
    bool RepeatModes() override;
    void LaneWork() override;
    void PollOutsideSystem() override;
    void ReloadRangeConfig() override;
    void RefreshCardDialog() override;
    void ClearStatusText() override;

private:
    class FrameWindow;

    void OnLaneState(int lane, const LineMessage& m);
    void OnShotFile(int lane, const LineMessage& m);
    void OpenChannel(int k);
    // Whether closing asks first: lines are open or shots are simulated.
    bool ExitQuestionDue() const;
    void ShowStatusFor(const char* key, int ticks);
    void UpdateTitle();
    // The competition's text for the monitors when a series is complete.
    std::string LaneText();

    RangeObjects& m_obj;
    CBVLog m_log;
    std::unique_ptr<FrameWindow> m_window;
    bool m_simulation = false;
    bool m_outsideSystem = false;
    static constexpr int kTickTimer = 1;
    // The competition's current series and stored mark kind, as last read.
    int m_currentSeries = 0;
    int m_markKind = -1;
    // The lane settings taken last, for the card being filled.
    uint8_t m_laneSettings[5] = {};
    bool m_closing = false;
    bool m_closed = false;
    QPointer<CDlgAsk> m_askBox;
    // The twin lane's sums: the lane and series shown, the next shot.
    int m_sumsLane = 0;
    int m_sumsSeries = 0;
    int m_sumsIndex = -1;
};
