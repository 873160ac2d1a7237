// The frame's commands that change how the range is set up: the interface,
// the competition and lane settings, the language, the software loader of
// the system administration, and the About box.
#include "range/ui/MainFrm.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "line/outside/CVI9001.h"
#include "line/ui/BVSWLoad.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Prompter.h"
#include "range/ui/BVLederApp.h"
#include "range/ui/FrameModal.h"
#include "range/ui/setup/DlgAbout.h"
#include "range/ui/setup/DlgDefComp.h"
#include "range/ui/setup/DlgDefLane.h"
#include "range/ui/setup/DlgLanguage.h"
#include "range/ui/views/FormList.h"

#include <cctype>
#include <cstdio>

namespace {

// The range owner who needs no password, and the administrator's password.
constexpr const char* kWorkshopOwner = "HAVGLORE VERKSTEDER";
constexpr const char* kAdminPassword = "9";

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The help and loader languages know English as EN only.
std::string LoaderLanguage(const std::string& code) { return code == "UK" || code == "US" ? "EN" : code; }

template <typename F>
void ForEachOutsideSystem(PortTable& ports, F f)
{
    for (PortRecord& p : ports)
        if (p.type == PortRecord::kOutsideSystem && p.outside)
            f(*p.outside);
}

}  // namespace

bool CMainFrame::Running() const { return m_tick.startState == TickSchedule::StartState::Running; }

void CMainFrame::SendSetupToLineLanes(int code)
{
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane)
        if (PortRecord::IsLine(m_obj.lanes[lane].channelType))
            SendLaneSetup(lane, static_cast<uint8_t>(code));
}

void CMainFrame::OnInterface()
{
    const int external = RangeInt(RangeItems::kExternalEquipment);
    const int rc = RunInterfaceDialog();
    m_tick.sumsCountdown = 0;
    if (rc != platform::IDOK)
        return;
    BusyScope busy(*this);
    OpenPorts();
    if (Running())
        RefreshAll();
    if (RangeInt(RangeItems::kExternalEquipment) != external)
        SendSetupToLineLanes(24);
    m_range.channels.UpdateOutsideControl();
    if (platform::FrameWnd* w = Window())
        w->SetPaneText(0, "");
    if (Running())
        NewRelay(false, true, false, false);
}

void CMainFrame::OnCompetitionSettings()
{
    CDlgDefComp dialog(Window(), m_obj, CompetitionNumber());
    if (FrameModal::Run(dialog) != platform::IDOK)
        return;
    m_obj.programs.Refresh();
    {
        PauseScope pause(m_tick);
        if (dialog.ReloadFlag()) {
            // The lanes taking part changed: each lane's set-up is read again
            // (the file check reads their enabled bytes) and new cards follow.
            m_obj.comp.CompConfig().Refresh();
            CheckFiles(true);
            NewRelay(false, true, false, false);
            CheckFiles(true);
            ReloadShots(true);
        } else {
            CheckFiles(true);
            ReloadShots(false);
        }
        RefreshViews();
        RefreshChangedRows();
        SendSetupToLineLanes(24);
        m_range.channels.UpdateOutsideControl();
    }
    // The relay column is headed by start number when the competition goes by them.
    if (CFormList* list = List())
        list->BuildColumns(Page());
    UpdateTitle();
}

void CMainFrame::OnLaneSettings()
{
    CDlgDefLane dialog(*this, Window());
    if (FrameModal::Run(dialog) != platform::IDOK)
        return;
    // The dialog set the lanes' card images; their stored cards take the
    // settings too, or the file check below and the next relay would read
    // the old ones back.
    for (int lane = NextActiveLane(0); lane != 0; lane = NextActiveLane(lane))
        if (m_obj.lanes[lane].rowMark && !m_range.cards.WriteCardSettings(lane))
            BV_LOG(m_log, 80, "Failed to write card %d:%d", m_obj.lanes[lane].card.relay, lane);
    m_obj.programs.Refresh();
    if (m_obj.comp.CompConfig().IsOpen())
        m_obj.comp.CompConfig().Refresh();
    CheckFiles(true);
    ReloadShots(false);
    RefreshViews();
    RefreshChangedRows();
    for (int lane = NextActiveLane(0); lane != 0; lane = NextActiveLane(lane)) {
        LaneBlock& b = m_obj.lanes[lane];
        SendLaneSetup(lane, 40);
        if (b.channelType == PortRecord::kOutsideSystem)
            ForEachOutsideSystem(m_obj.ports,
                                 [&](CVI9001& vi) { vi.SetLaneTargetType(lane, b.card.targetType); });
    }
    // The program's view shows what was set.
    SelectPage(2);
    if (CFormList* list = List())
        list->BuildColumns(Page());
}

void CMainFrame::OnLanguage()
{
    CDlgLanguage dialog(Window());
    dialog.m_code = m_obj.settings.profile.language.empty() ? m_obj.Text("IDS_LANG") : m_obj.settings.profile.language;
    const int rc = FrameModal::Run(dialog);
    const std::string code = dialog.m_code.empty() ? "EN" : dialog.m_code;
    LoadRangeLanguage(m_obj.language, code);
    if (rc == platform::IDOK) {
        // The choice is kept also when it is made at start-up, before the
        // program runs: it is not asked again at the next start.
        m_obj.settings.profile.language = code;
        m_obj.settings.SaveProfile();
    }
    if (Running())
        SetMenuTexts(false);
    m_obj.targetTypes.SetLanguage(m_obj.Text("IDS_LANG").c_str());
}

void CMainFrame::OnSystemAdministration()
{
    CBVConfig& config = m_obj.settings.Config();
    const std::string owner = config.IsOpen() ? Upper(ReadItem(config, RangeItems::kUserName)) : std::string();
    if (owner != kWorkshopOwner) {
        InputQuestion q;
        q.titleKey = "IDS_WRN_ADM_TITLE";
        q.promptKey = "IDS_WRN_ADM_PROMPT";
        if (!AskInput(q))
            return;
        if (q.text != kAdminPassword) {
            platform::MessageBox(m_obj.Text("IDS_WRN_ADM_PASS"));
            return;
        }
    }
    ClosePorts();
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        LaneBlock& b = m_obj.lanes[lane];
        if (PortRecord::IsLine(b.channelType)) {
            b.lineStatus = LineStatus::kNoContact;
            b.rowMark = 1;
        }
    }
    RefreshChangedRows();

    // The loader works on the range's first line channel.
    const PortRecord& first = m_obj.ports[0];
    int port = -1;
    std::string adapter;
    if (PortRecord::IsUsb(first.type)) {
        port = CBVSWLoad::kUsbEntry;
        char name[16];
        std::snprintf(name, sizeof name, "BV1%05d", RangeInt(RangeItems::UsbAdapter(0)) % 100000);
        adapter = name;
    } else if (PortRecord::IsSerial(first.type)) {
        port = first.type;
    }
    CBVSWLoad::RunLoader(Window(), LoaderLanguage(m_obj.Text("IDS_LANG")), BuiltInRangeTexts(), port, adapter);

    OpenPorts();
    RefreshAll();
}

void CMainFrame::OnAppAbout()
{
    CDlgAbout about(Window());
    FrameModal::Run(about);
}
