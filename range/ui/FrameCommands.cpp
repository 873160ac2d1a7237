#include "range/ui/FrameCommands.h"

#include "foundation/settings/RangeSettings.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Prompter.h"
#include "range/ui/FrameResources.h"
#include "range/ui/MainFrm.h"
#include "range/ui/views/FormPanel.h"

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

}  // namespace

void FrameCommands::Build()
{
    CMainFrame& f = m_frame;
    SetupCommands& setup = f.Setup();
    TargetCommands& targets = f.Targets();
    MonitorCommands& monitors = f.Monitors();
    ResultsCommands& results = f.Results();
    FrameDialogs& dialogs = f.Dialogs();
    FrameViews& views = f.Views();
    auto ids = [](std::initializer_list<int> list) { return std::vector<int>(list); };
    auto pages = [] {
        std::vector<int> v;
        for (int id = FrameResources::ID_PAGE_FIRST; id <= FrameResources::ID_PAGE_LAST; ++id)
            v.push_back(id);
        return v;
    };
    const bool refused = true;
    m_table = {
        {ids({32875, 32841}), "OnLanguage", false, [&setup](int) { setup.OnLanguage(); }},
        {ids({32779}), "OnInterface", false, [&setup](int) { setup.OnInterface(); }},
        {ids({32806, 32825}), "OnCompetitionChoice", false, [&f](int) { f.Competitions().OnCompetitionChoice(); }},
        {ids({32814}), "OnProgramEditor", false, [&setup](int) { setup.OnProgramEditor(); }},
        {ids({32832, 32836}), "OpenStatusDialog", false, [&dialogs](int) { dialogs.OpenStatusDialog(); }},
        {ids({32778}), "OnSystemAdministration", false, [&setup](int) { setup.OnSystemAdministration(); }},
        {ids({32828, 32837}), "OpenLineMonitor", false, [&dialogs](int) { dialogs.OpenLineMonitor(); }},
        {ids({ID_APP_EXIT}), "CloseFrame", false, [&f](int) { f.CloseFrame(false); }},
        {ids({ID_VIEW_TOOLBAR}), "OnViewToolBar", false, [&views](int) { views.OnViewToolBar(); }},
        {ids({ID_VIEW_STATUS_BAR}), "OnViewStatusBar", false, [&views](int) { views.OnViewStatusBar(); }},
        {ids({kTabsCommand}), "OnViewTabs", false, [&views](int) { views.OnViewTabs(); }},
        {pages(), "SelectPage", false, [&views](int id) { views.SelectPage(id - FrameResources::ID_PAGE_FIRST + 1); }},
        {ids({32809, 32810, 32811}), "OnZoom", refused, [&targets](int id) { targets.OnZoom(id - 32809 + 1); }},
        {ids({32774, 32857}), "OnMotor", refused, [&targets](int) { targets.OnMotor(); }},
        {ids({32812}), "OnLift", false, [&targets](int) { targets.OnLift(); }},
        {ids({32839}), "OnLightCommand", false, [&targets](int) { targets.OnLightCommand(); }},
        {ids({32845}), "ShootSeries", false,
         [&f](int) {
             CFormPanel* p = f.Views().Panel();
             f.ShootSeries(p ? p->MarkKind() : 0, p ? p->SeriesIndex() : 0, true);
         }},
        {ids({32846}), "MarkSeries", false,
         [&f](int) {
             CFormPanel* p = f.Views().Panel();
             f.MarkSeries(p ? p->MarkKind() : 0, p ? p->SeriesIndex() : 0, true);
         }},
        {ids({32849}), "NewRelay", false, [&f](int) { f.NewRelay(false, false, true, false); }},
        {ids({32860}), "OnWelcomeOne", refused, [&targets](int) { targets.OnWelcomeOne(); }},
        {ids({32785, 32855}), "OnSendToOffice", false, [&results](int) { results.OnSendToOffice(); }},
        {ids({32861}), "OnMedia", false, [&results](int) { results.OnMedia(); }},
        {ids({32808, ID_FILE_PRINT, 32824}), "OnPrintCards", false, [&results](int) { results.OnPrintCards(); }},
        {ids({32788, 32854}), "OpenCardDialog", false, [&dialogs](int) { dialogs.OpenCardDialog(); }},
        {ids({32862}), "OnNames", refused, [&results](int) { results.OnNames(); }},
        {ids({32775, 32850}), "NewRelay", false, [&f](int) { f.NewRelay(true, false, false, false); }},
        {ids({32786, 32807, 32856, 32821}), "OnWelcomeCommand", refused,
         [&targets](int) { targets.OnWelcomeCommand(); }},
        {ids({32868}), "OnMessageToMonitors", false, [&monitors](int) { monitors.OnMessageToMonitors(); }},
        {ids({32867}), "OnUpdateMonitors", false, [&monitors](int) { monitors.OnUpdateMonitors(); }},
        {ids({32784}), "OnFetchFromMonitors", false, [&monitors](int) { monitors.OnFetchFromMonitors(); }},
        {ids({32833}), "OnDeleteMonitorCards", false, [&monitors](int) { monitors.OnDeleteMonitorCards(); }},
        {ids({32834}), "OnDeleteCards", false, [&monitors](int) { monitors.OnDeleteCards(); }},
        {ids({32847}), "OnDeleteNames", false, [&monitors](int) { monitors.OnDeleteNames(); }},
        {ids({32835, 32840}), "OnFinalMarking", refused, [&targets](int) { targets.OnFinalMarking(); }},
        {ids({32803}), "OnCompetitionSettings", refused, [&setup](int) { setup.OnCompetitionSettings(); }},
        {ids({32804}), "OnLaneSettings", refused, [&setup](int) { setup.OnLaneSettings(); }},
        {ids({FrameResources::ID_HELP_FINDER}), "WinHelp", false,
         [&views](int) { views.WinHelp(0, platform::HELP_WINDOW_TOPIC); }},
        {ids({FrameResources::ID_CONTEXT_HELP}), "OnContextHelp", false, [&views](int) { views.OnContextHelp(); }},
        {ids({ID_APP_ABOUT}), "OnAppAbout", false, [&setup](int) { setup.OnAppAbout(); }},
        {ids({32816}), "OnClockStart", false, [&targets](int) { targets.OnClockStart(); }},
        {ids({32817}), "OnClockStop", false, [&targets](int) { targets.OnClockStop(); }},
        {ids({32818, 32823}), "RefreshAll", false, [&f](int) { f.RefreshAll(); }},
        {ids({32853}), "OnMarkAllButton", false,
         [&views](int) {
             if (CFormPanel* p = views.Panel())
                 p->item(CFormPanel::IDC_MARKALL).click();
         }},
        {ids({32851}), "OnShootButton", false,
         [&views](int) {
             if (CFormPanel* p = views.Panel())
                 p->item(CFormPanel::IDC_SHOOT).click();
         }},
        {ids({32859}), "PreviousSeries", false,
         [&views](int) {
             if (CFormPanel* p = views.Panel())
                 p->PreviousSeries();
         }},
        {ids({32858}), "NextSeries", false,
         [&views](int) {
             if (CFormPanel* p = views.Panel())
                 p->NextSeries();
         }},
        {ids({32822}), "OnSendAll", false, [&f](int) { f.Range().exchange.SendOfficeResults(); }},
        {ids({32826}), "SwitchToPractice", false, [&f](int) { f.Competitions().SwitchToPractice(); }},
        {ids({32827}), "ResetLanesForCompetition", false, [&f](int) { f.Competitions().ResetLanesForCompetition(); }},
        // Ctrl+T is taken and does nothing.
        {ids({32831}), "Nothing", false, [](int) {}},
        {ids({32866}), "OnToggleStop", false, [&f](int) { f.Range().commands.OnToggleStop(); }},
        {ids({ID_NEXT_PANE}), "OnNextPane", false, [&views](int) { views.OnNextPane(true); }},
        {ids({ID_PREV_PANE}), "OnNextPane", false, [&views](int) { views.OnNextPane(false); }},
    };
}

void FrameCommands::Register()
{
    platform::FrameWnd* w = m_frame.Window();
    if (!w)
        return;
    Build();
    RangeObjects& obj = m_frame.Objects();
    for (const FrameCommand& c : m_table)
        for (int id : c.ids)
            w->OnCommand(id, [this, &obj, &c, id] {
                if (c.refusedInPractice && obj.CompetitionNumber() == 0) {
                    platform::MessageBox(obj.Text("IDS_WRN_COMPTRAIN"));
                    return;
                }
                m_frame.RunCommand(c, id);
            });
    // The bars and the tab strip show whether they are on.
    const CRangeSettings::Profile& p = obj.settings.profile;
    w->OnUpdateCommand(ID_VIEW_TOOLBAR, [&p](platform::CommandUI& ui) { ui.SetCheck(p.toolOn != 0); });
    w->OnUpdateCommand(ID_VIEW_STATUS_BAR, [&p](platform::CommandUI& ui) { ui.SetCheck(p.statusOn != 0); });
    w->OnUpdateCommand(kTabsCommand, [&p](platform::CommandUI& ui) { ui.SetCheck(p.tabOn != 0); });
}
