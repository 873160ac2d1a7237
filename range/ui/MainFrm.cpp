#include "range/ui/MainFrm.h"

#include "foundation/settings/RangeSettings.h"
#include "foundation/ui/cards/CardPrinter.h"
#include "foundation/ui/net/BVSocket.h"
#include "line/LineMessage.h"
#include "line/ui/BVSWLoad.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Prompter.h"
#include "range/lanes/TargetMessages.h"
#include "range/print/CardPrintJob.h"
#include "range/ui/BVLederApp.h"
#include "range/ui/DlgAsk.h"
#include "range/ui/DlgLineSpy.h"
#include "range/ui/FrameModal.h"
#include "range/ui/RangeStartup.h"
#include "range/ui/dialogs/DlgLC.h"
#include "range/ui/dialogs/DlgLaneSel.h"
#include "range/ui/dialogs/DlgRelay.h"
#include "range/ui/dialogs/DlgSimulate.h"
#include "range/ui/dialogs/DlgStatus.h"
#include "range/ui/scorecard/DlgCard.h"
#include "range/ui/views/FormList.h"
#include "range/ui/views/FormPanel.h"
#include "range/views/LaneColumns.h"
#include "range/views/LaneRanking.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEvent>

#include <array>

// The frame's window: it passes the frame's own window messages, its timer
// and its closing on to the frame.
class CMainFrame::FrameWindow : public platform::FrameWnd {
public:
    explicit FrameWindow(CMainFrame& frame) : m_frame(frame) {}

    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override
    {
        if (message == WM_DISPATCH) {
            m_frame.Range().dispatcher.DispatchMessages();
            return 0;
        }
        if (message == WM_SOCKET_NOTIFY) {
            m_frame.OnSocketMessage(wParam, lParam);
            return 0;
        }
        if (message == CDlgAsk::WM_ASK_ANSWER) {
            m_frame.Questions().OnAnswer(static_cast<int>(wParam));
            return 0;
        }
        return FrameWnd::OnMessage(message, wParam, lParam);
    }

    void OnTimer(int id) override
    {
        if (id == CMainFrame::kTickTimer)
            m_frame.OnTick();
        else
            BV_LOG(m_frame.m_log, 80, "Unknown timer event");
    }

    void WinHelp(uint32_t data, int command) override { m_frame.Views().WinHelp(data, command); }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        FrameWnd::resizeEvent(event);
        m_frame.Views().OnSizing(geometry());
        m_frame.Views().LayoutClient();
    }
    void moveEvent(QMoveEvent* event) override
    {
        FrameWnd::moveEvent(event);
        m_frame.Views().OnSizing(geometry());
    }

    void changeEvent(QEvent* event) override
    {
        FrameWnd::changeEvent(event);
        if (event->type() == QEvent::ActivationChange && isActiveWindow())
            m_frame.OnSetFocus();
    }

    // The close box asks the frame, which may ask the officer first.
    void closeEvent(QCloseEvent* event) override
    {
        if (m_frame.m_closing) {
            event->accept();
            return;
        }
        event->ignore();
        m_frame.CloseFrame(false);
    }

private:
    CMainFrame& m_frame;
};

namespace {

// The officer answers in the new-shooters dialog.
class DialogRelayChooser : public RelayChooser {
public:
    explicit DialogRelayChooser(CMainFrame& frame) : m_frame(frame) {}
    bool Choose(const RelayRequest& request, RelayChoice& choice) override
    {
        CDlgRelay dialog(m_frame.Objects(), m_frame.Window());
        dialog.m_flags.nextRelay = request.nextRelay;
        dialog.m_flags.noAllLanes = request.noAllLanes;
        dialog.m_flags.reset = request.reset;
        if (FrameModal::Run(dialog) != platform::IDOK)
            return false;
        choice.allLanes = dialog.m_allLanes != 0;
        choice.relay = dialog.m_relay;
        for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane)
            choice.laneRelay[static_cast<size_t>(lane)] = dialog.LaneRelay(lane);
        return true;
    }

private:
    CMainFrame& m_frame;
};

}  // namespace

CMainFrame::CMainFrame(RangeObjects& objects) : m_obj(objects), m_range(objects, *this, m_tick) {}

CMainFrame::~CMainFrame()
{
    ClosePorts();
    m_socket.reset();
    m_dialogs.CloseLightDialog();
    m_dialogs.CloseStatusDialog();
    m_dialogs.CloseCardDialog();
}

platform::FrameWnd* CMainFrame::CreateWindowFrame()
{
    if (!m_window) {
        m_window = std::make_unique<FrameWindow>(*this);
        // Pane 0 stretches; panes 1 (warnings) and 2 (information) hold texts.
        static const std::array<int, 3> kPanes = {150, 50, 40};
        m_window->SetStatusPanes(kPanes);
        m_views.Create();
    }
    return m_window.get();
}

platform::FrameWnd* CMainFrame::Window() const { return m_window.get(); }

// ---- Start and close

void CMainFrame::OnSetFocus()
{
    if (m_tick.startState != TickSchedule::StartState::Created)
        return;
    m_obj.targetTypes.SetLanguage(m_obj.language.GetText("IDS_LANG").c_str());
    if (platform::FrameWnd* w = Window()) {
        const CRangeSettings::Profile& p = m_obj.settings.profile;
        w->ShowStatusBar(p.statusOn != 0);
        w->ShowToolBar(p.toolOn != 0);
        w->SetPaneText(kWarningPane, "");
        w->SetPaneText(kInfoPane, "");
    }
    m_obj.comp.decimalSeparator = m_obj.language.GetText("IDS_COMMA");
    if (m_obj.comp.decimalSeparator.empty())
        m_obj.comp.decimalSeparator = ",";
    // The clock link's socket lives on the frame's window; opening the lines
    // starts it as the server.
    if (!m_socket && Window())
        m_socket = std::make_unique<CBVSocket>(Window());
    m_tick.ArmFirstTick(*this);
}

int CMainFrame::Startup()
{
    m_obj.comp.Close();
    if (RangeStartup::IsProductionMode(commandLine)) {
        // The workshop loads software into target units and nothing else,
        // in Norwegian; without a competition the program closes on this
        // tick. The loader stands alone: the minimised frame is no owner.
        m_tick.startState = TickSchedule::StartState::Production;
        if (Window())
            Window()->showMinimized();
        CBVSWLoad::RunLoader(nullptr, "NO", BuiltInRangeTexts());
        return -1;
    }
    RangeStartup startup(*this);
    const int competition = startup.Run();
    m_startFailed = startup.failed;
    return competition;
}

bool CMainFrame::ExitQuestionDue() const
{
    if (m_range.channels.Simulation())
        return true;
    for (const PortRecord& p : m_obj.ports)
        if (PortRecord::IsLine(p.type))
            return true;
    return m_range.channels.OutsideRemote();
}

void CMainFrame::CloseFrame(bool noQuestion)
{
    if (m_closed)
        return;
    BusyScope busy(*this);
    // With lines to the targets the officer is asked whether the targets go
    // to the practice competition first; the answer closes later.
    if (ExitQuestionDue() && !noQuestion && m_obj.CompetitionNumber() > 0) {
        m_question.Ask(AskState::Exit);
        return;
    }
    m_socket.reset();
    m_obj.settings.SaveProfile();
    m_dialogs.CloseLineMonitor();
    m_dialogs.CloseLightDialog();
    m_dialogs.CloseStatusDialog();
    m_dialogs.CloseCardDialog();
    ClosePorts();
    KillTimer();
    m_competitions.SetComputerName(false);
    m_closed = true;
    m_closing = true;
    m_question.CloseAsk();
    if (Window())
        Window()->close();
}

// ---- Lines and the clock link

void CMainFrame::OpenPorts()
{
    m_range.channels.OpenPorts();
    // The displays of the range connect to the clock link.
    if (m_socket)
        m_socket->Connect(1, m_clockPort, "");
}

void CMainFrame::ClosePorts()
{
    m_range.channels.ClosePorts();
    if (m_socket)
        m_socket->Close();
}

void CMainFrame::SendClock()
{
    std::string text = m_range.clock.Message();
    if (m_socket)
        m_socket->Send(text.data(), static_cast<int>(text.size()));
    m_tick.clockCountdown = TickSchedule::kClockTicks;
}

void CMainFrame::OnSocketMessage(intptr_t socket, intptr_t event)
{
    if (!m_socket)
        return;
    m_socket->OnSocketMessage(socket, event);
    // Displays only listen; whatever one sends is dropped unread.
    while (!m_socket->GetReceived().empty()) {
    }
}

void CMainFrame::RefreshAll()
{
    m_range.RefreshAll();
    QApplication::restoreOverrideCursor();
}

// ---- The officer's series, relays and simulation

void CMainFrame::SendClockMode(int lane) { m_series.SendClockMode(lane); }

void CMainFrame::ShootSeries(int markKind, int seriesIndex, bool askLane)
{
    m_series.ShootSeries(markKind, seriesIndex, askLane);
}

void CMainFrame::MarkSeries(int markKind, int seriesIndex, bool askLane)
{
    m_series.MarkSeries(markKind, seriesIndex, askLane);
}

void CMainFrame::MarkTwinLane(int markKind, int seriesIndex) { m_series.MarkTwinLane(markKind, seriesIndex); }

// Every result goes to the results program before the cards change.
void CMainFrame::OnNewShooter()
{
    m_range.exchange.SendOfficeResults();
    NewRelay(true, false, false, false);
}

int CMainFrame::NewRelay(bool nextRelay, bool force, bool noAllLanes, bool reset)
{
    RelayRequest request;
    request.nextRelay = nextRelay;
    request.force = force;
    request.noAllLanes = noAllLanes;
    request.reset = reset;
    if (!m_relayChooser)
        m_relayChooser = std::make_unique<DialogRelayChooser>(*this);
    return m_relayChange.NewRelay(request, *m_relayChooser, [this](int lane) { Welcome(lane); });
}

void CMainFrame::SetRelayChooser(std::unique_ptr<RelayChooser> chooser) { m_relayChooser = std::move(chooser); }

bool CMainFrame::ChooseLane(LaneChoice& choice)
{
    CDlgLaneSel d(Window());
    d.m_title = m_obj.Text(choice.titleKey);
    d.m_lane = choice.lane;
    d.m_relay = choice.relay;
    d.m_allTargets = choice.allTargets ? 1 : 0;
    d.m_hideRelay = true;
    if (d.DoModal() != platform::IDOK)
        return false;
    choice.lane = d.m_lane;
    choice.relay = d.m_relay;
    choice.allTargets = d.m_allTargets != 0;
    return true;
}

void CMainFrame::Welcome(int lane)
{
    if (!m_welcome.Welcome(lane))
        return;
    m_views.SelectPage(1);
    if (CFormList* list = m_views.List())
        list->update();
    ShowStatusKeys("IDS_INFO_WELCOME", nullptr, nullptr);
}

void CMainFrame::OnSimulate(int lane)
{
    CDlgSimulate dialog(Window());
    if (FrameModal::Run(dialog) != platform::IDOK)
        return;
    ShotSimulator::Fields fields;
    fields.x = dialog.m_x;
    fields.y = dialog.m_y;
    fields.frameShot = dialog.m_frameShot != 0;
    fields.turned = dialog.m_turned != 0;
    fields.timeA = dialog.m_timeA;
    fields.timeB = dialog.m_timeB;
    fields.timeC = dialog.m_timeC;
    fields.timeD = dialog.m_timeD;
    fields.change = dialog.m_change;
    fields.temperature = dialog.m_temperature;
    fields.run = dialog.m_run;
    m_range.simulation.Simulator().SetFields(fields);
    m_range.simulation.SimulateShots(lane, 1);
    m_range.simulation.Simulator().SetFields({});
}

void CMainFrame::RunCommand(const Command& command, int id) { command.run(id); }

// ---- The status bar and the officer

void CMainFrame::ShowStatusKey(const char* key)
{
    if (!m_window)
        return;
    std::string text = m_obj.language.GetText(key);
    if (text.size() > 50)
        text.resize(50);
    m_window->SetPaneText(kWarningPane, text);
    m_tick.statusCountdown = 0;
}

void CMainFrame::ShowStatusFor(const char* key, int ticks)
{
    ShowStatusKey(key);
    m_tick.statusCountdown = ticks;
}

void CMainFrame::ClearStatusText()
{
    if (m_window)
        m_window->SetPaneText(kWarningPane, "");
}

void CMainFrame::ShowStatusText(const std::string& text)
{
    if (!m_window)
        return;
    m_window->SetPaneText(kInfoPane, "");
    m_window->SetPaneText(kWarningPane, text);
    m_tick.statusCountdown = 0;
}

void CMainFrame::ShowStatusKeys(const char* key1, const char* key2, const char* text)
{
    if (!m_window)
        return;
    std::string line = m_obj.language.GetText(key1);
    if (key2 && *key2)
        line += " " + m_obj.language.GetText(key2);
    if (text)
        line += std::string(" ") + text;
    m_window->SetPaneText(kInfoPane, line);
    m_window->SetPaneText(kWarningPane, "");
}

void CMainFrame::Message(const std::string& text) { platform::MessageBox(text); }

void CMainFrame::Beep(bool information)
{
    platform::CurrentPrompter().Beep(information ? platform::BeepKind::Information : platform::BeepKind::Exclamation);
}

void CMainFrame::Busy(bool on)
{
    if (on)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

// ---- The views

void CMainFrame::RefreshViews()
{
    if (CFormPanel* panel = m_views.Panel())
        panel->Refresh();
    m_views.BuildList();
}

void CMainFrame::RedrawRow(int lane)
{
    if (CFormList* list = m_views.List())
        list->RedrawRows(lane, lane);
}

// The tick's and the dispatcher's look at the panel: the clock.
void CMainFrame::RefreshPanel()
{
    if (CFormPanel* panel = m_views.Panel())
        panel->OnClockTick();
}

void CMainFrame::RedrawClock()
{
    if (CFormPanel* panel = m_views.Panel())
        panel->DrawClock();
}

void CMainFrame::RankLanes()
{
    CFormList* list = m_views.List();
    if (!list || !LaneColumns::ShowsPlace(list->Codes()))
        return;
    if (LaneRanking::RankLanes(m_obj.lanes) != 0)
        m_range.files.RefreshChangedRows();
}

// ---- The dialogs that follow the targets and the tick

void CMainFrame::OnLightMsg(const LineMessage& m)
{
    if (CDlgLC* light = m_dialogs.LightDialog(); light && light->IsOpen())
        light->UpdateLane(m);
}

void CMainFrame::OnUnitMsg(const LineMessage& m)
{
    CDlgStatus* status = m_dialogs.StatusDialog();
    if (!status || !status->IsOpen())
        return;
    if (m.data[3] == Msg::kUnitVersion)
        status->SetVersion(m);
    else if (m.data[3] == Msg::kUnitStatus)
        status->SetStatus(m);
}

// The line monitor shows what it collected while it is open.
void CMainFrame::ShowMonitorFrames()
{
    if (CDlgLineSpy* spy = m_dialogs.LineMonitor(); spy && spy->isVisible())
        spy->ShowFrames();
}

// An open card dialog follows the card's shots.
void CMainFrame::RefreshCardDialog()
{
    if (CDlgCard* card = m_dialogs.CardDialog())
        card->Refresh();
}

int CMainFrame::PrintCards(CardPrintJob& job)
{
    CCardPrinter printer;
    static_cast<CardPrintSettings&>(printer) = job.settings;
    for (const PrintCard& card : job.cards) {
        PrintCard* added = printer.AddCard();
        PrintCard* next = added->next;
        *added = card;
        added->next = next;
    }
    return printer.Print();
}

// ---- The timer

void CMainFrame::ArmTimer(int milliseconds)
{
    if (platform::FrameWnd* w = Window())
        w->SetTimer(kTickTimer, milliseconds);
}

void CMainFrame::KillTimer()
{
    if (platform::FrameWnd* w = Window())
        w->KillTimer(kTickTimer);
}
