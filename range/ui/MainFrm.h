#pragma once
// The range control's main frame: it owns the range's logic (RangeControl)
// and serves it the window's side (FrameServices): the status bar, the
// views, the message and question boxes, the timer and the clock link's
// socket. The tick runs on its timer. Everything runs on the user-interface
// thread; the line threads meet it only in the queues of the line objects.
//
// The frame works without a screen (the tests run it so); CreateWindowFrame
// gives it its window, whose status bar the status texts go to.
#include "foundation/files/BVLog.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompOptions.h"
#include "line/LineMessage.h"
#include "range/lanes/ShotFlags.h"
#include "range/print/MonitorPrint.h"
#include "range/run/FrameServices.h"
#include "range/run/RangeControl.h"
#include "range/run/RangeObjects.h"
#include "range/run/RelayChange.h"
#include "range/run/SeriesCommands.h"
#include "range/run/TickSchedule.h"
#include "range/run/WelcomeTexts.h"
#include "range/ui/DlgAsk.h"
#include "range/ui/DlgLineSpy.h"
#include "range/ui/dialogs/DlgLC.h"
#include "range/ui/dialogs/DlgStatus.h"
#include "range/ui/scorecard/DlgCard.h"

#include <QPointer>
#include <QRect>

#include <functional>

#include <memory>
#include <string>
#include <vector>

class CBVSocket;
class CChildView;
class CFormList;
class CFormPanel;
class CFormTab;
class CHtmlHelp;
class CLockSplitter;

namespace platform {
class FrameWnd;
class KitWindow;
}

class CMainFrame : public TickWork, private FrameServices, private SeriesHost {
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

    RangeObjects& Objects() { return m_obj; }
    RangeControl& Range() { return m_range; }

    // ---- Start, run and close
    // The frame's first focus arms the start-up on the first tick.
    void OnSetFocus();
    // The start-up of the first tick: opens the competition, the lines and
    // the clock link; the competition opened, or -1.
    int Startup() override;
    // Logs and shows the file that cannot be read, and marks the start failed.
    int RefuseDamagedFile(const std::string& fileAndFault);
    // Closes the program, or first asks whether the targets should go to the
    // practice competition.
    void CloseFrame(bool noQuestion);
    // The range configuration's computer name: this computer's, or empty.
    void SetComputerName(bool set);
    // Makes competition n's folder and settings as a copy of the open one's;
    // false, after telling the officer, when it could not.
    bool CreateCompetition(int n);
    // The interface dialog, modal; its result. The frame's lines close while
    // a port search in it runs and open again afterwards.
    int RunInterfaceDialog();
    // The competition choice, then the switch to the competition chosen
    // (a new one gets its settings first).
    void OnCompetitionChoice() override;
    // Timer 1.
    // A frame closed by a stop signal before its first tick stays closed:
    // no start-up runs and no question opens after it.
    void OnTick()
    {
        if (!m_closed)
            m_tick.OnTick(*this);
    }
    // The program was closed (its window is gone).
    bool Closed() const { return m_closed; }
    // Whether the start found a file it cannot read, or no competition, and
    // closed for it.
    bool StartFailed() const { return m_startFailed; }
    // The program's command line as typed; the word after the program's
    // name may start the workshop mode.
    std::string commandLine;
    static bool IsProductionMode(const std::string& commandLine);
    // The range goes over to the practice competition.
    void SwitchToPractice();
    LaneTable& Lanes() { return m_obj.lanes; }
    PortTable& Ports() { return m_obj.ports; }

    // ---- Lanes and line channels (the clock link opens and closes with them)
    void OpenPorts();
    void ClosePorts();
    int NextActiveLane(int lane) const { return m_obj.lanes.NextActiveLane(lane); }
    int NextLineLane(int lane) const { return m_obj.lanes.NextLineLane(lane); }
    void MarkLane(int lane, uint8_t value) { m_range.channels.MarkLane(lane, value); }
    void UpdateLineStatus() { m_range.channels.UpdateLineStatus(); }
    bool Simulation() const { return m_range.channels.Simulation(); }
    bool OutsideSystemOpen() const { return m_range.channels.OutsideSystemOpen(); }

    // ---- Receive dispatcher
    void DispatchMessages() override { m_range.dispatcher.DispatchMessages(); }
    void Dispatch(int channel, const LineMessage& m) { m_range.dispatcher.Dispatch(channel, m); }
    void WriteActive(int lane, uint8_t series) { m_range.records.WriteActive(lane, series); }
    void ReloadShotRecord(int relay, int lane, int count) { m_range.records.ReloadShotRecord(relay, lane, count); }
    void ShowStatusKey(const char* key) override;
    void ShowStatusText(const std::string& text) override;
    void ShowStatusKeys(const char* key1, const char* key2, const char* text) override;

    // ---- Outgoing commands
    int SendCommand(int lane, const LineMessage& message, uint8_t flags)
    {
        return m_range.commands.SendCommand(lane, message, flags);
    }
    void SendMode(int mode, int lane, uint8_t flags) { m_range.commands.SendMode(mode, lane, flags); }
    void ResetAllLanes() override { m_range.commands.ResetAllLanes(); }
    void SendLaneSetup(int lane, uint8_t flags) { m_range.commands.SendLaneSetup(lane, flags); }
    void SendProgram(int lane, uint8_t flags) { m_range.commands.SendProgram(lane, flags); }
    void SendText(int lane, const std::string& text) { m_range.commands.SendText(lane, text); }
    void SendCardOverview(int lane) { m_range.records.SendCardOverview(lane); }
    void DeleteMonitorCard(int lane) { m_range.commands.DeleteMonitorCard(lane); }
    void SendZoom(int lane, int level) { m_range.commands.SendZoom(lane, level); }
    void SendMotor(int lane, int value) { m_range.commands.SendMotor(lane, value); }
    void SendStatusQuery() { m_range.commands.SendStatusQuery(); }
    void SendLight(int lane, const int intensity[3]) { m_range.commands.SendLight(lane, intensity); }
    void SendShoot(int lane, int value) { m_range.commands.SendShoot(lane, value); }
    void SendLift(int lane, int position) { m_range.commands.SendLift(lane, position); }
    void OnToggleStop() { m_range.commands.OnToggleStop(); }

    // ---- The tick's work (the tick decides when)
    int CheckFiles(bool force) override { return m_range.files.CheckFiles(force); }
    int ReloadShots(bool force) override { return m_range.files.ReloadShots(force); }
    // The panel read again and the lane list rebuilt.
    void RefreshViews() override;
    void RefreshChangedRows() override { m_range.files.RefreshChangedRows(); }
    void TouchFiles() override { m_range.files.TouchFiles(); }
    void SimulationStep() override { m_range.simulation.Step(); }

    // ---- Shot intake
    void StoreShot(int relay, int lane, ShotRecord& shot) { m_range.intake.StoreShot(relay, lane, shot); }
    void RequestMissingShots(int lane) { m_range.intake.RequestMissingShots(lane); }
    void SendCardSummary(int lane) { m_range.intake.SendCardSummary(lane); }
    void SendLaneText(int lane, int series, bool force) { m_range.intake.SendLaneText(lane, series, force); }
    void SendSums() override { m_range.sums.SendSums(); }
    void StartSums(int lane, int series) { m_range.sums.StartSums(lane, series); }

    // ---- Cards in the frame
    void TakeLaneSettings(int lane) { m_range.cards.TakeLaneSettings(lane); }
    void StoreLaneSettings(int lane) { m_range.cards.StoreLaneSettings(lane); }
    void RecomputeLane(int lane) { m_range.cards.RecomputeLane(lane); }

    // ---- Exchange with the results program
    int SendResults(int firstRelay, int lastRelay, int firstLane, int shooters, const char* folder = nullptr)
    {
        return m_range.exchange.SendResults(firstRelay, lastRelay, firstLane, shooters, folder);
    }
    void SendOfficeResults() { m_range.exchange.SendOfficeResults(); }
    int ImportNames(int laneLimit) { return m_range.exchange.ImportNames(laneLimit); }

    // ---- Clock link
    void SendClock() override;
    void RedrawClock() override;
    void OnSocketMessage(intptr_t socket, intptr_t event);

    // ---- Simulation
    void SimulateShots(int lane, int kind) { m_range.simulation.SimulateShots(lane, kind); }
    int EffectiveTargetType(int lane) { return m_range.simulation.EffectiveTargetType(lane); }

    // ---- Question box
    void Ask(AskState type);
    void OnAskAnswer(int value);
    void AskProgress() override;
    CDlgAsk* AskBox() const { return m_askBox; }
    AskState Asking() const override { return m_askType; }

    // ---- Line monitor: opened modeless, replacing one that is open.
    void OpenLineMonitor();
    void CloseLineMonitor();
    CDlgLineSpy* LineMonitor() const { return m_lineSpy; }

    // ---- Light and unit status dialogs: opened modeless, replacing one
    // that is open; they take the targets' answers while they are open.
    void OpenLightDialog();
    void OpenStatusDialog();
    void CloseLightDialog();
    void CloseStatusDialog();
    CDlgLC* LightDialog() const { return m_lightDlg; }
    CDlgStatus* StatusDialog() const { return m_statusDlg; }

    // ---- Score card dialog (MainFrmCard.cpp): one at a time, replaced
    // unless it is still setting itself up; it follows the tick.
    void OpenCardDialog();
    void CloseCardDialog();
    CDlgCard* CardDialog() const { return m_cardDlg; }
    // The stored mark kind (2,1,711) as the file check last read it.
    int MarkKind() const { return m_range.files.markKind; }

    // ---- The window's client: splitters, views, menu and help (MainFrmViews.cpp)
    // Menu, accelerators and tool bar, the two splitters and the three
    // views; the stored list view selected.
    void OnCreateClient();
    // Every menu item, popup, tool tip, tab and panel text from the language;
    // after the start also the panel, the list and the title.
    void SetMenuTexts(bool starting);
    // The splitters laid out in the window: the panel at its width, the tab
    // strip shown or not (OnSize).
    void LayoutClient();
    // The window moved or changed its size: the rectangle goes into the profile.
    void OnSizing(const QRect& rectangle);
    // List view 1..6 (commands 32792..32797); 7..9 only beep.
    void SelectPage(int page);
    int Page() const;
    // Help: command 2 and 3 open the topic given, 4 the current list view's;
    // a datum that carries a point is answered by the view under the point.
    void WinHelp(uint32_t data, int command);
    // A help request on a view's control, answered by where the control lies.
    void HelpAt(platform::KitWindow* view, int controlId);
    static int PageTopic(int page) { return 32791 + page; }
    // The help topic of the tab view.
    static constexpr int kTabTopic = 1001;
    CFormList* List() const;
    CFormPanel* Panel() const;
    CFormTab* TabView() const;
    CLockSplitter* OuterSplitter() const { return m_outer; }
    CLockSplitter* InnerSplitter() const { return m_inner; }
    // The tab strip's height while it is shown: 21 pixels, or what its tabs
    // and the pane's border need in the kit's style.
    static constexpr int kTabHeight = 21;
    int TabStripHeight() const;

    // ---- Cards, relays and the series (MainFrmRelay.cpp)
    // The new-shooter procedure: the officer's choice of relays, then new
    // cards; RelayChange::kOk or kCancel.
    int NewRelay(bool nextRelay, bool force, bool noAllLanes, bool reset);
    // Who answers for the new-shooters dialog (the proposal as it stands
    // unless replaced).
    void SetRelayChooser(std::unique_ptr<RelayChooser> chooser);
    void ToggleShotFlag(int lane, int position, int mode) { m_shotFlags.ToggleShotFlag(lane, position, mode); }
    int LowestShotLane(const std::vector<int>& lanes, int position) { return m_shotFlags.LowestShotLane(lanes, position); }
    // The series commands of the panel and the keys, the welcome texts and
    // the simulation dialog of a lane (0: every lane).
    virtual void SendClockMode(int lane);
    virtual void ShootSeries(int markKind, int seriesIndex, bool askLane);
    virtual void MarkSeries(int markKind, int seriesIndex, bool askLane);
    virtual void MarkTwinLane(int markKind, int seriesIndex);
    virtual void OnNewShooter();
    virtual void Welcome(int lane);
    virtual void OnSimulate(int lane);
    SeriesCommands& Series() { return m_series; }
    // The commands that open the series dialogs (MainFrmSeries.cpp): the
    // lift, the motor advance, the final marking, the welcome command with
    // its choice of lanes and set-up, and the one-target welcome.
    virtual void OnLift();
    virtual void OnMotor();
    virtual void OnFinalMarking();
    virtual void OnWelcomeCommand();
    virtual void OnWelcomeOne();
    // The lane dialog of the series commands and the welcome (relay
    // hidden); false when cancelled.
    bool ChooseLane(LaneChoice& choice) override;

    // ---- Printing (MainFrmPrint.cpp)
    // The cards of relays first..last (0..0: each lane's own) and lanes
    // first..last; the number of cards printed.
    int PrintCards(int firstRelay, int lastRelay, int firstLane, int lastLane, bool withDialog);
    MonitorPrint& MonitorFetch() { return m_monitorPrint; }

    // ---- The window's commands (MainFrmCommands.cpp)
    // One entry of the frame's command table: the commands of a menu item,
    // its keys and tool buttons, the handler's name and whether the
    // practice competition refuses it. Commands in no entry stay disabled.
    struct Command {
        std::vector<int> ids;
        const char* handler;
        bool refusedInPractice;
        std::function<void(int id)> run;
    };
    const std::vector<Command>& Commands() const { return m_commands; }
    // The command's handler (a test frame may note it instead).
    virtual void RunCommand(const Command& command, int id);

    // What the lane dialog asks and answers: a lane (or all targets), a
    // relay, and in some forms all cards.
    struct LaneQuestion {
        const char* titleKey = "";
        bool showAllCards = false;
        bool showRelay = false;
        int lane = 0;
        int relay = 0;
        bool allTargets = false;
        bool allCards = false;
    };
    // The lane dialog, preset with the first active lane and its relay;
    // false when cancelled.
    virtual bool AskLane(LaneQuestion& question);
    // The input dialog: title, prompt and text; with a lane it also asks a
    // lane or all targets. False when cancelled.
    struct InputQuestion {
        const char* titleKey = "";
        const char* promptKey = "";
        bool withLane = false;
        std::string text;
        int lane = 0;
        bool allTargets = false;
    };
    virtual bool AskInput(InputQuestion& question);

    void OnLanguage();
    void OnInterface();
    void OnSystemAdministration();
    void OnAppAbout();
    void OnViewToolBar();
    void OnViewStatusBar();
    void OnViewTabs();
    void OnZoom(int level);
    void OnLightCommand();
    void OnSendToOffice();
    void OnPrintCards();
    void OnNames();
    void OnMessageToMonitors();
    void OnUpdateMonitors();
    void OnFetchFromMonitors();
    void OnDeleteMonitorCards();
    void OnDeleteCards();
    void OnDeleteNames();
    void OnCompetitionSettings();
    void OnLaneSettings();
    void OnClockStart();
    void OnClockStop();
    // F5: the lanes reset, the files checked and read again, the names
    // imported and every view refreshed.
    void RefreshAll();
    void OnSendAll();
    void OnNextPane(bool forward);
    void OnContextHelp();
    // The program has started (its first tick ran the start-up).
    bool Running() const;
    // A lane set-up code to every lane on a serial line or a USB adapter.
    void SendSetupToLineLanes(int code);
    // The targets reset for the competition open now.
    void ResetLanesForCompetition();
    // The program editor, the media dialog and the names dialog (which the
    // names command opens when the names are kept here).
    void OnProgramEditor();
    void OnMedia();
    void RunNamesDialog();

    // ---- What the tick and the commands share
    TickSchedule m_tick;
    AskState m_askType = AskState::None;

    // The clock link's server, made on the frame's window by the start-up;
    // opening the lines starts it on the clock port, closing them stops it.
    std::unique_ptr<CBVSocket> m_socket;
    int m_clockPort = 8888;

    int CompetitionNumber() const { return m_obj.CompetitionNumber(); }
    int CompInt(const ConfigIntItem& item) { return m_obj.CompInt(item); }
    CompOptions Options() const { return m_obj.Options(); }
    int RangeInt(const ConfigIntItem& item) { return m_obj.RangeInt(item); }

protected:
    // ---- FrameServices: what the range's logic asks of the window.
    void ShowStatusFor(const char* key, int ticks) override;
    void Message(const std::string& text) override;
    void Beep(bool information) override;
    void Busy(bool on) override;
    void RedrawRow(int lane) override;
    void RefreshPanel() override;
    void RankLanes() override;
    void OnMonitorPrintMsg(const LineMessage& m) override;
    void OnLightMsg(const LineMessage& m) override;
    void OnUnitMsg(const LineMessage& m) override;
    void OnFetchShot(const LineMessage& m) override;
    int PrintCards(CardPrintJob& job) override;
    void CloseAsk() override;
    void OnAskCountdown() override;

    // ---- The rest of the tick's work
    void ArmTimer(int milliseconds) override;
    void KillTimer() override;
    void SendStartupMode() override;
    void AskStartup() override;
    int Competition() override { return CompetitionNumber(); }
    void CloseWithoutQuestion() override { CloseFrame(true); }
    void ShowMonitorFrames() override;
    bool AskCountdownEnd() override;
    bool RepeatModes() override { return m_range.commands.RepeatModes(); }
    void LaneWork() override { m_range.intake.LaneWork(); }
    void PollOutsideSystem() override;
    void ReloadRangeConfig() override { m_range.files.ReloadRangeConfig(); }
    void RefreshCardDialog() override;
    void ClearStatusText() override;

private:
    class FrameWindow;

    // Whether closing asks first: lines are open or shots are simulated.
    bool ExitQuestionDue() const;
    void UpdateTitle();

    RangeObjects& m_obj;
    CBVLog m_log;
    std::unique_ptr<FrameWindow> m_window;
    RangeControl m_range;
    static constexpr int kTickTimer = 1;
    bool m_closing = false;
    bool m_closed = false;
    bool m_startFailed = false;
    QPointer<CDlgAsk> m_askBox;
    QPointer<CDlgLineSpy> m_lineSpy;
    QPointer<CDlgLC> m_lightDlg;
    QPointer<CDlgStatus> m_statusDlg;
    QPointer<CDlgCard> m_cardDlg;


    // The client of the window, made by OnCreateClient.
    CChildView* m_childView = nullptr;
    CLockSplitter* m_outer = nullptr;
    CLockSplitter* m_inner = nullptr;
    std::unique_ptr<CHtmlHelp> m_help;
    // Logic of the frame's own operations.
    MonitorPrint m_monitorPrint{m_obj, *this, m_range.commands, m_range.intake};
    ShotFlags m_shotFlags{m_obj, *this, m_range.records, m_range.cards};
    RelayChange m_relayChange{m_obj, *this, m_range};
    SeriesCommands m_series{m_obj, *this, m_range, m_tick, *this};
    WelcomeTexts m_welcome{m_obj, *this, m_range};
    std::unique_ptr<RelayChooser> m_relayChooser;
    std::vector<Command> m_commands;
    void BuildCommands();
    void RegisterCommands();
};
