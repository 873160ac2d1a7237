#pragma once
// The range control's main frame. It owns the range's logic (RangeControl)
// and the tick, serves the logic the window's side (FrameServices: the status
// bar, the views, the message boxes, the question box, the dialogs that take
// the targets' answers and the printer) and does the window's half of every
// tick (TickWindow: its timer, the start-up, the redraws, the clock link's
// socket). Its parts each have a file: the client with the views
// (FrameViews), the modeless dialogs (FrameDialogs), the question box
// (FrameQuestion), the start-up (RangeStartup), the command table
// (FrameCommands) and the commands by subject (SetupCommands,
// CompetitionChoice, TargetCommands, MonitorCommands, ResultsCommands).
// Everything runs on the user-interface thread; the line threads meet it only
// in the queues of the line objects.
//
// The frame works without a screen (the tests run it so); CreateWindowFrame
// gives it its window, whose status bar the status texts go to.
#include "foundation/files/BVLog.h"
#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"
#include "range/run/RangeControl.h"
#include "range/run/RelayChange.h"
#include "range/run/SeriesCommands.h"
#include "range/run/TickSchedule.h"
#include "range/run/WelcomeTexts.h"
#include "range/ui/CompetitionChoice.h"
#include "range/ui/FrameCommands.h"
#include "range/ui/FrameDialogs.h"
#include "range/ui/FrameQuestion.h"
#include "range/ui/FrameViews.h"
#include "range/ui/MonitorCommands.h"
#include "range/ui/ResultsCommands.h"
#include "range/ui/SetupCommands.h"
#include "range/ui/TargetCommands.h"
#include "range/ui/views/ViewActions.h"

#include <memory>
#include <string>

class CBVSocket;

namespace platform {
class FrameWnd;
}

class CMainFrame : public FrameServices, public TickWindow, private SeriesHost, public ViewActions {
public:
    // Window messages of the frame.
    static constexpr int WM_DISPATCH = 0x8000 + 1;  // take the received messages now

    // Status-bar panes: warnings go to pane 1, information to pane 2.
    static constexpr int kWarningPane = 1;
    static constexpr int kInfoPane = 2;

    explicit CMainFrame(RangeObjects& objects);
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // The frame window with its status bar; made once.
    platform::FrameWnd* CreateWindowFrame();
    platform::FrameWnd* Window() const;

    // What the frame owns, for its parts and for tests.
    RangeObjects& Objects() { return m_obj; }
    RangeControl& Range() { return m_range; }
    FrameViews& Views() { return m_views; }
    FrameDialogs& Dialogs() { return m_dialogs; }
    FrameQuestion& Questions() override { return m_question; }
    FrameCommands& Commands() { return m_commands; }
    SetupCommands& Setup() { return m_setup; }
    CompetitionChoice& Competitions() { return m_competitions; }
    TargetCommands& Targets() { return m_targets; }
    MonitorCommands& Monitors() { return m_monitors; }
    ResultsCommands& Results() { return m_results; }

    // ---- Start, run and close
    // The frame's first focus arms the start-up on the first tick.
    void OnSetFocus();
    // The start-up of the first tick: in the workshop mode only the software
    // loader, else the range opened (RangeStartup); the competition opened,
    // or -1.
    int Startup() override;
    // Timer 1. A frame closed by a stop signal before its first tick stays
    // closed: no start-up runs and no question opens after it.
    void OnTick()
    {
        if (!m_closed)
            m_tick.OnTick(m_range.TickSteps(), *this);
    }
    // Closes the program, or first asks whether the targets should go to the
    // practice competition.
    void CloseFrame(bool noQuestion) override;
    // The program was closed (its window is gone).
    bool Closed() const { return m_closed; }
    // Whether the start found a file it cannot read, or no competition, and
    // closed for it.
    bool StartFailed() const { return m_startFailed; }
    // The program has started (its first tick ran the start-up).
    bool Running() const { return m_tick.startState == TickSchedule::StartState::Running; }
    // The program's command line as typed; the word after the program's
    // name may start the workshop mode.
    std::string commandLine;

    // ---- Lanes and line channels; the clock link opens and closes with them.
    void OpenPorts();
    void ClosePorts();
    void SendClock() override;
    void OnSocketMessage(intptr_t socket, intptr_t event);
    // F5: the lanes reset, the files checked and read again, the names
    // imported and every view refreshed.
    void RefreshAll();

    // ---- The officer's series, relays and simulation. The panel and the
    // list start them (ViewActions), the command table too.
    void SendClockMode(int lane) override;
    void ShootSeries(int markKind, int seriesIndex, bool askLane) override;
    void MarkSeries(int markKind, int seriesIndex, bool askLane) override;
    void MarkTwinLane(int markKind, int seriesIndex) override;
    void OnNewShooter() override;
    void OnSimulate(int lane) override;
    // The welcome texts of a lane (0: every lane); the list shows the
    // roll call.
    virtual void Welcome(int lane);
    // The new-shooter procedure: the officer's choice of relays, then new
    // cards; RelayChange::kOk or kCancel.
    int NewRelay(bool nextRelay, bool force, bool noAllLanes, bool reset);
    // Who answers for the new-shooters dialog (the dialog unless replaced).
    void SetRelayChooser(std::unique_ptr<RelayChooser> chooser);
    // The lane dialog of the series commands and the welcome (relay
    // hidden); false when cancelled.
    bool ChooseLane(LaneChoice& choice) override;
    SeriesCommands& Series() { return m_series; }

    // The command's handler (a test frame may note it instead).
    using Command = FrameCommand;
    virtual void RunCommand(const Command& command, int id);

    // ---- FrameServices: what the range's logic asks of the window.
    void ShowStatusKey(const char* key) override;
    void ShowStatusFor(const char* key, int ticks) override;
    void ShowStatusText(const std::string& text) override;
    void ShowStatusKeys(const char* key1, const char* key2, const char* text) override;
    void Message(const std::string& text) override;
    void Beep(bool information) override;
    void Busy(bool on) override;
    void RedrawRow(int lane) override;
    void RefreshPanel() override;
    void RankLanes() override;
    void RefreshViews() override;
    void OnLightMsg(const LineMessage& m) override;
    void OnUnitMsg(const LineMessage& m) override;
    int PrintCards(CardPrintJob& job) override;

    // ---- What the tick and the commands share
    TickSchedule m_tick;

    // The clock link's server, made on the frame's window by the start-up;
    // opening the lines starts it on the clock port, closing them stops it.
    std::unique_ptr<CBVSocket> m_socket;
    int m_clockPort = 8888;

protected:
    // ---- The rest of the tick's window half
    void ArmTimer(int milliseconds) override;
    void KillTimer() override;
    void ShowMonitorFrames() override;
    void RefreshCardDialog() override;
    void ClearStatusText() override;
    // SeriesHost: the panel's clock drawn again.
    void RedrawClock() override;

private:
    class FrameWindow;

    // Whether closing asks first: lines are open or shots are simulated.
    bool ExitQuestionDue() const;

    RangeObjects& m_obj;
    CBVLog m_log;
    std::unique_ptr<FrameWindow> m_window;
    RangeControl m_range;
    static constexpr int kTickTimer = 1;
    bool m_closing = false;
    bool m_closed = false;
    bool m_startFailed = false;

    // The officer's operations that ask through windows.
    SeriesCommands m_series{m_obj, *this, m_range, m_tick, *this};
    RelayChange m_relayChange{m_obj, *this, m_range};
    WelcomeTexts m_welcome{m_obj, *this, m_range};
    std::unique_ptr<RelayChooser> m_relayChooser;

    // The frame's parts.
    FrameViews m_views{*this};
    FrameDialogs m_dialogs{*this};
    FrameQuestion m_question{*this};
    SetupCommands m_setup{*this};
    CompetitionChoice m_competitions{*this};
    TargetCommands m_targets{*this};
    MonitorCommands m_monitors{*this};
    ResultsCommands m_results{*this};
    FrameCommands m_commands{*this};
};
