// The frame's command table: every menu item, key and tool button of the
// main window, what each runs, when it is refused, and which are checked.
// Commands in no entry have no handler and the window shows them disabled.
#include "range/ui/MainFrm.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "line/outside/CVI9001.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Prompter.h"
#include "range/ui/FrameModal.h"
#include "range/ui/FrameResources.h"
#include "range/ui/dialogs/DlgInput.h"
#include "range/ui/dialogs/DlgLaneSel.h"
#include "range/ui/setup/DlgMedia.h"
#include "range/ui/dialogs/DlgName.h"
#include "range/ui/setup/DlgProgram.h"
#include "range/ui/views/FormList.h"
#include "range/ui/views/FormPanel.h"
#include "range/ui/views/FormTab.h"

#include <QApplication>
#include <QKeyEvent>

namespace {

// Commands of the standard frame that the table names.
enum : int {
    ID_APP_EXIT = 57665,
    ID_APP_ABOUT = 57664,
    ID_FILE_PRINT = 57607,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
};
constexpr int kTabsCommand = 32780;

template <typename F>
void ForEachOutsideSystem(PortTable& ports, F f)
{
    for (PortRecord& p : ports)
        if (p.type == PortRecord::kOutsideSystem && p.outside)
            f(*p.outside);
}

}  // namespace

void CMainFrame::BuildCommands()
{
    auto ids = [](std::initializer_list<int> list) { return std::vector<int>(list); };
    auto pages = [] {
        std::vector<int> v;
        for (int id = FrameResources::ID_PAGE_FIRST; id <= FrameResources::ID_PAGE_LAST; ++id)
            v.push_back(id);
        return v;
    };
    const bool refused = true;
    m_commands = {
        {ids({32875, 32841}), "OnLanguage", false, [this](int) { OnLanguage(); }},
        {ids({32779}), "OnInterface", false, [this](int) { OnInterface(); }},
        {ids({32806, 32825}), "OnCompetitionChoice", false, [this](int) { OnCompetitionChoice(); }},
        {ids({32814}), "OnProgramEditor", false, [this](int) { OnProgramEditor(); }},
        {ids({32832, 32836}), "OpenStatusDialog", false, [this](int) { OpenStatusDialog(); }},
        {ids({32778}), "OnSystemAdministration", false, [this](int) { OnSystemAdministration(); }},
        {ids({32828, 32837}), "OpenLineMonitor", false, [this](int) { OpenLineMonitor(); }},
        {ids({ID_APP_EXIT}), "CloseFrame", false, [this](int) { CloseFrame(false); }},
        {ids({ID_VIEW_TOOLBAR}), "OnViewToolBar", false, [this](int) { OnViewToolBar(); }},
        {ids({ID_VIEW_STATUS_BAR}), "OnViewStatusBar", false, [this](int) { OnViewStatusBar(); }},
        {ids({kTabsCommand}), "OnViewTabs", false, [this](int) { OnViewTabs(); }},
        {pages(), "SelectPage", false, [this](int id) { SelectPage(id - FrameResources::ID_PAGE_FIRST + 1); }},
        {ids({32809, 32810, 32811}), "OnZoom", refused, [this](int id) { OnZoom(id - 32809 + 1); }},
        {ids({32774, 32857}), "OnMotor", refused, [this](int) { OnMotor(); }},
        {ids({32812}), "OnLift", false, [this](int) { OnLift(); }},
        {ids({32839}), "OnLightCommand", false, [this](int) { OnLightCommand(); }},
        {ids({32845}), "ShootSeries", false,
         [this](int) {
             CFormPanel* p = Panel();
             ShootSeries(p ? p->MarkKind() : 0, p ? p->SeriesIndex() : 0, true);
         }},
        {ids({32846}), "MarkSeries", false,
         [this](int) {
             CFormPanel* p = Panel();
             MarkSeries(p ? p->MarkKind() : 0, p ? p->SeriesIndex() : 0, true);
         }},
        {ids({32849}), "NewRelay", false, [this](int) { NewRelay(false, false, true, false); }},
        {ids({32860}), "OnWelcomeOne", refused, [this](int) { OnWelcomeOne(); }},
        {ids({32785, 32855}), "OnSendToOffice", false, [this](int) { OnSendToOffice(); }},
        {ids({32861}), "OnMedia", false, [this](int) { OnMedia(); }},
        {ids({32808, ID_FILE_PRINT, 32824}), "OnPrintCards", false, [this](int) { OnPrintCards(); }},
        {ids({32788, 32854}), "OpenCardDialog", false, [this](int) { OpenCardDialog(); }},
        {ids({32862}), "OnNames", refused, [this](int) { OnNames(); }},
        {ids({32775, 32850}), "NewRelay", false, [this](int) { NewRelay(true, false, false, false); }},
        {ids({32786, 32807, 32856, 32821}), "OnWelcomeCommand", refused, [this](int) { OnWelcomeCommand(); }},
        {ids({32868}), "OnMessageToMonitors", false, [this](int) { OnMessageToMonitors(); }},
        {ids({32867}), "OnUpdateMonitors", false, [this](int) { OnUpdateMonitors(); }},
        {ids({32784}), "OnFetchFromMonitors", false, [this](int) { OnFetchFromMonitors(); }},
        {ids({32833}), "OnDeleteMonitorCards", false, [this](int) { OnDeleteMonitorCards(); }},
        {ids({32834}), "OnDeleteCards", false, [this](int) { OnDeleteCards(); }},
        {ids({32847}), "OnDeleteNames", false, [this](int) { OnDeleteNames(); }},
        {ids({32835, 32840}), "OnFinalMarking", refused, [this](int) { OnFinalMarking(); }},
        {ids({32803}), "OnCompetitionSettings", refused, [this](int) { OnCompetitionSettings(); }},
        {ids({32804}), "OnLaneSettings", refused, [this](int) { OnLaneSettings(); }},
        {ids({FrameResources::ID_HELP_FINDER}), "WinHelp", false,
         [this](int) { WinHelp(0, platform::HELP_WINDOW_TOPIC); }},
        {ids({FrameResources::ID_CONTEXT_HELP}), "OnContextHelp", false, [this](int) { OnContextHelp(); }},
        {ids({ID_APP_ABOUT}), "OnAppAbout", false, [this](int) { OnAppAbout(); }},
        {ids({32816}), "OnClockStart", false, [this](int) { OnClockStart(); }},
        {ids({32817}), "OnClockStop", false, [this](int) { OnClockStop(); }},
        {ids({32818, 32823}), "RefreshAll", false, [this](int) { RefreshAll(); }},
        {ids({32853}), "OnMarkAllButton", false,
         [this](int) {
             if (CFormPanel* p = Panel())
                 p->item(CFormPanel::IDC_MARKALL).click();
         }},
        {ids({32851}), "OnShootButton", false,
         [this](int) {
             if (CFormPanel* p = Panel())
                 p->item(CFormPanel::IDC_SHOOT).click();
         }},
        {ids({32859}), "PreviousSeries", false,
         [this](int) {
             if (CFormPanel* p = Panel())
                 p->PreviousSeries();
         }},
        {ids({32858}), "NextSeries", false,
         [this](int) {
             if (CFormPanel* p = Panel())
                 p->NextSeries();
         }},
        {ids({32822}), "OnSendAll", false, [this](int) { OnSendAll(); }},
        {ids({32826}), "SwitchToPractice", false, [this](int) { SwitchToPractice(); }},
        {ids({32827}), "ResetLanesForCompetition", false, [this](int) { ResetLanesForCompetition(); }},
        // Ctrl+T is taken and does nothing.
        {ids({32831}), "Nothing", false, [](int) {}},
        {ids({32866}), "OnToggleStop", false, [this](int) { OnToggleStop(); }},
        {ids({ID_NEXT_PANE}), "OnNextPane", false, [this](int) { OnNextPane(true); }},
        {ids({ID_PREV_PANE}), "OnNextPane", false, [this](int) { OnNextPane(false); }},
    };
}

void CMainFrame::RegisterCommands()
{
    platform::FrameWnd* w = Window();
    if (!w)
        return;
    BuildCommands();
    for (const Command& c : m_commands)
        for (int id : c.ids)
            w->OnCommand(id, [this, &c, id] {
                if (c.refusedInPractice && CompetitionNumber() == 0) {
                    platform::MessageBox(m_obj.Text("IDS_WRN_COMPTRAIN"));
                    return;
                }
                RunCommand(c, id);
            });
    // The bars and the tab strip show whether they are on.
    const CRangeSettings::Profile& p = m_obj.settings.profile;
    w->OnUpdateCommand(ID_VIEW_TOOLBAR, [&p](platform::CommandUI& ui) { ui.SetCheck(p.toolOn != 0); });
    w->OnUpdateCommand(ID_VIEW_STATUS_BAR, [&p](platform::CommandUI& ui) { ui.SetCheck(p.statusOn != 0); });
    w->OnUpdateCommand(kTabsCommand, [&p](platform::CommandUI& ui) { ui.SetCheck(p.tabOn != 0); });
}

void CMainFrame::RunCommand(const Command& command, int id) { command.run(id); }

// ---- The window

void CMainFrame::OnViewToolBar()
{
    CRangeSettings::Profile& p = m_obj.settings.profile;
    p.toolOn = p.toolOn != 0 ? 0 : 1;
    if (platform::FrameWnd* w = Window())
        w->ShowToolBar(p.toolOn != 0);
    LayoutClient();
}

void CMainFrame::OnViewStatusBar()
{
    CRangeSettings::Profile& p = m_obj.settings.profile;
    p.statusOn = p.statusOn != 0 ? 0 : 1;
    if (platform::FrameWnd* w = Window())
        w->ShowStatusBar(p.statusOn != 0);
    LayoutClient();
}

void CMainFrame::OnViewTabs()
{
    CRangeSettings::Profile& p = m_obj.settings.profile;
    p.tabOn = p.tabOn != 0 ? 0 : 1;
    LayoutClient();
}

void CMainFrame::OnContextHelp()
{
    // As Shift+F1 on the control with the focus.
    QWidget* focus = QApplication::focusWidget();
    platform::KitWindow* view = focus ? platform::KitWindow::Of(focus) : nullptr;
    if (view) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_F1, Qt::ShiftModifier);
        view->PreTranslateKey(&key);
    }
}

void CMainFrame::OnNextPane(bool forward)
{
    std::vector<QWidget*> panes;
    if (CFormTab* t = TabView(); t && m_obj.settings.profile.tabOn != 0)
        panes.push_back(t);
    if (CFormList* l = List())
        panes.push_back(l);
    if (CFormPanel* p = Panel())
        panes.push_back(p);
    if (panes.empty())
        return;
    QWidget* focus = QApplication::focusWidget();
    int at = -1;
    for (size_t i = 0; i < panes.size(); ++i)
        for (QWidget* w = focus; w; w = w->parentWidget())
            if (w == panes[i])
                at = static_cast<int>(i);
    const int n = static_cast<int>(panes.size());
    int next = at < 0 ? 0 : (at + (forward ? 1 : n - 1)) % n;
    panes[static_cast<size_t>(next)]->setFocus();
    if (auto* view = dynamic_cast<platform::KitWindow*>(panes[static_cast<size_t>(next)]))
        if (platform::FrameWnd* w = Window())
            w->SetActiveView(view);
}

// ---- The lanes

void CMainFrame::OnZoom(int level) { SendZoom(0, level); }

void CMainFrame::OnLightCommand()
{
    OpenLightDialog();
    const int full[3] = {255, 255, 255};
    SendLight(0, full);
}

void CMainFrame::OnClockStart()
{
    m_obj.clock.Start();
    SendClockMode(0);
    if (CFormPanel* p = Panel())
        p->DrawClock();
}

void CMainFrame::OnClockStop()
{
    m_obj.clock.Stop();
    SendClock();
    if (CFormPanel* p = Panel())
        p->DrawClock();
}

void CMainFrame::RefreshAll()
{
    ResetAllLanes();
    CheckFiles(true);
    ReloadShots(true);
    ImportNames(0);
    RefreshViews();
    RefreshChangedRows();
    QApplication::restoreOverrideCursor();
}

void CMainFrame::OnSendAll() { SendOfficeResults(); }

void CMainFrame::ResetLanesForCompetition()
{
    ShowStatusKey("IDS_INFO_PC");
    const int twin = CompInt(CompSettings::kTwinLane);
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        LaneBlock& b = m_obj.lanes[lane];
        if (b.channelType == 0)
            continue;
        if (b.channelType == PortRecord::kOutsideSystem) {
            if (b.enabled)
                ForEachOutsideSystem(m_obj.ports, [lane](CVI9001& vi) { vi.SetLaneActive(lane, false); });
            continue;
        }
        if (b.enabled || lane == twin) {
            SendLaneSetup(lane, 58);
        } else {
            SendLaneSetup(lane, 20);
            b.printFlag = 0;
            b.cardCountdown = 0;
        }
    }
    m_range.channels.UpdateOutsideControl();
}

// ---- The lane dialog's commands. Each works on the lane chosen when it is
// active, or on every active lane.

namespace {

template <typename F>
void ForChosenLanes(const LaneTable& lanes, const CMainFrame::LaneQuestion& q, F f)
{
    if (q.allTargets) {
        for (int lane = lanes.NextActiveLane(0); lane != 0; lane = lanes.NextActiveLane(lane))
            f(lane);
    } else if (LaneTable::IsLane(q.lane) && lanes.IsActive(q.lane)) {
        f(q.lane);
    }
}

}  // namespace

void CMainFrame::OnMessageToMonitors()
{
    InputQuestion q;
    q.titleKey = "IDS_INPUT_MSG_TITLE";
    q.promptKey = "IDS_INPUT_MSG_PROMPT";
    q.withLane = true;
    q.lane = NextActiveLane(0);
    if (!AskInput(q))
        return;
    SendText(q.allTargets ? 0 : q.lane, q.text);
}

void CMainFrame::OnUpdateMonitors()
{
    LaneQuestion q;
    q.titleKey = "IDS_LANESEL_TITLE_UPDATEDU";
    if (!AskLane(q))
        return;
    SendCardOverview(q.allTargets ? 0 : q.lane);
}

void CMainFrame::OnFetchFromMonitors()
{
    LaneQuestion q;
    q.titleKey = "IDS_LANESEL_TITLE_FETCH";
    if (!AskLane(q))
        return;
    ForChosenLanes(m_obj.lanes, q, [this](int lane) {
        m_obj.lanes[lane].fetchRunning = 1;
        SendCardSummary(lane);
    });
}

void CMainFrame::OnDeleteMonitorCards()
{
    LaneQuestion q;
    q.titleKey = "IDS_LANESEL_TITLE_DELDU";
    q.showAllCards = true;
    if (!AskLane(q))
        return;
    if (q.allCards && platform::MessageBox(m_obj.Text("IDS_WRN_DELCARDS"), {}, platform::MessageIcon::None,
                                           platform::MessageButtons::YesNo) != platform::IDYES)
        return;
    ForChosenLanes(m_obj.lanes, q, [this, &q](int lane) {
        if (q.allCards)
            DeleteMonitorCard(lane);
        SendLaneSetup(lane, 11);
    });
}

void CMainFrame::OnDeleteCards()
{
    LaneQuestion q;
    q.titleKey = "IDS_LANESEL_TITLE_DELPC";
    if (AskLane(q)) {
        ForChosenLanes(m_obj.lanes, q, [this](int lane) {
            LaneBlock& b = m_obj.lanes[lane];
            m_obj.comp.DeleteShots(b.active.relay, lane);
            b.rowMark = 1;
        });
    }
    // The views follow the files, whatever the officer answered.
    CheckFiles(false);
    ReloadShots(false);
    RefreshViews();
    RefreshChangedRows();
}

void CMainFrame::OnDeleteNames()
{
    LaneQuestion q;
    q.titleKey = "IDS_LANESEL_TITLE_DELNAME";
    if (!AskLane(q))
        return;
    ForChosenLanes(m_obj.lanes, q, [this](int lane) {
        LaneBlock& b = m_obj.lanes[lane];
        m_obj.comp.DeleteName(b.active.relay, lane);
        b.rowMark = 1;
    });
    CheckFiles(true);
    ReloadShots(true);
    RefreshViews();
    RefreshChangedRows();
}

void CMainFrame::OnNames()
{
    // Names are kept here only when no results program keeps them.
    if (RangeInt(RangeItems::kResultsProgram) != 8) {
        platform::MessageBox(m_obj.Text("IDS_WRN_ONLYLOCAL"));
        return;
    }
    RunNamesDialog();
    const int equipment = m_obj.programs.GetEquipment(0);
    if ((equipment == 3 || equipment == 131) && RangeInt(RangeItems::kExternalEquipment) == 3) {
        ImportNames(0);
        for (int lane = NextActiveLane(0); lane != 0; lane = NextActiveLane(lane))
            SendLaneSetup(lane, 90);
    }
    CheckFiles(true);
    ReloadShots(true);
    RefreshViews();
    RefreshChangedRows();
}

// ---- The lane and input dialogs of the commands

bool CMainFrame::AskLane(LaneQuestion& q)
{
    CDlgLaneSel d(Window());
    const int lane = NextActiveLane(0);
    d.m_title = m_obj.Text(q.titleKey);
    d.m_lane = lane;
    d.m_relay = LaneTable::IsLane(lane) ? m_obj.lanes[lane].active.relay : 0;
    d.m_hideAllCards = !q.showAllCards;
    d.m_hideRelay = !q.showRelay;
    if (FrameModal::Run(d) != platform::IDOK)
        return false;
    q.lane = d.m_lane;
    q.relay = d.m_relay;
    q.allTargets = d.m_allTargets != 0;
    q.allCards = d.m_allCards != 0;
    return true;
}

bool CMainFrame::AskInput(InputQuestion& q)
{
    CDlgInput d(Window());
    d.m_title = m_obj.Text(q.titleKey);
    d.m_prompt = m_obj.Text(q.promptKey);
    d.m_textOnly = !q.withLane;
    d.m_lane = q.lane;
    if (FrameModal::Run(d) != platform::IDOK)
        return false;
    q.text = d.m_text;
    q.lane = d.m_lane;
    q.allTargets = d.m_allTargets != 0;
    return true;
}

// ---- The program editor, the names and the media

void CMainFrame::OnProgramEditor()
{
    CDlgProgram editor(m_obj.settings.Config(), Window());
    if (FrameModal::Run(editor) != platform::IDOK)
        return;
    m_obj.programs.OpenFiles(true);
    m_obj.programs.Refresh();
    PauseScope pause(m_tick);
    CheckFiles(true);
    ReloadShots(false);
    RefreshViews();
    RefreshChangedRows();
}

void CMainFrame::RunNamesDialog()
{
    CDlgName names(*this, Window());
    const int lane = NextActiveLane(0);
    const int relay = LaneTable::IsLane(lane) && m_obj.lanes[lane].active.relay > 0 ? m_obj.lanes[lane].active.relay : 1;
    names.m_relayText = std::to_string(relay);
    FrameModal::Run(names);
}

void CMainFrame::OnMedia()
{
    CDlgMedia media(*this, Window());
    const int lane = NextActiveLane(0);
    media.m_relay = LaneTable::IsLane(lane) && m_obj.lanes[lane].active.relay > 0 ? m_obj.lanes[lane].active.relay : 1;
    FrameModal::Run(media);
}
