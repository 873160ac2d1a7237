#include "range/ui/SetupCommands.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "line/outside/CVI9001.h"
#include "line/ui/BVSWLoad.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Prompter.h"
#include "range/ui/BVLederApp.h"
#include "range/ui/FrameModal.h"
#include "range/ui/MainFrm.h"
#include "range/ui/setup/DlgAbout.h"
#include "range/ui/setup/DlgDefComp.h"
#include "range/ui/setup/DlgDefLane.h"
#include "range/ui/setup/DlgInterface.h"
#include "range/ui/setup/DlgLanguage.h"
#include "range/ui/setup/DlgProgram.h"
#include "range/ui/views/FormList.h"

#include <cctype>
#include <cstdio>
#include <string>

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

}  // namespace

void SetupCommands::SendSetupToLineLanes(int code)
{
    const LaneTable& lanes = m_frame.Objects().lanes;
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane)
        if (PortRecord::IsLine(lanes[lane].channelType))
            m_frame.Range().commands.SendLaneSetup(lane, static_cast<uint8_t>(code));
}

void SetupCommands::OnInterface()
{
    RangeObjects& obj = m_frame.Objects();
    const int external = obj.RangeInt(RangeItems::kExternalEquipment);
    const int rc = RunInterfaceDialog();
    m_frame.m_tick.sumsCountdown = 0;
    if (rc != platform::IDOK)
        return;
    BusyScope busy(m_frame);
    m_frame.OpenPorts();
    if (m_frame.Running())
        m_frame.RefreshAll();
    if (obj.RangeInt(RangeItems::kExternalEquipment) != external)
        SendSetupToLineLanes(24);
    m_frame.Range().channels.UpdateOutsideControl();
    if (platform::FrameWnd* w = m_frame.Window())
        w->SetPaneText(0, "");
    if (m_frame.Running())
        m_frame.NewRelay(false, true, false, false);
}

int SetupCommands::RunInterfaceDialog()
{
    CDlgInterface dialog(m_frame.Window(), m_frame.Objects(),
                         {[this] { m_frame.ClosePorts(); }, [this] { m_frame.OpenPorts(); }});
    return FrameModal::Run(dialog);
}

void SetupCommands::OnProgramEditor()
{
    RangeObjects& obj = m_frame.Objects();
    CDlgProgram editor(obj.settings.Config(), m_frame.Window());
    if (FrameModal::Run(editor) != platform::IDOK)
        return;
    obj.programs.OpenFiles(true);
    obj.programs.Refresh();
    PauseScope pause(m_frame.m_tick);
    m_frame.Range().ReadFilesAgain(true, false);
}

void SetupCommands::OnCompetitionSettings()
{
    RangeObjects& obj = m_frame.Objects();
    RangeControl& range = m_frame.Range();
    CDlgDefComp dialog(m_frame.Window(), obj, obj.CompetitionNumber());
    if (FrameModal::Run(dialog) != platform::IDOK)
        return;
    obj.programs.Refresh();
    {
        PauseScope pause(m_frame.m_tick);
        if (dialog.ReloadFlag()) {
            // The lanes taking part changed: each lane's set-up is read again
            // (the file check reads their enabled bytes) and new cards follow.
            obj.comp.CompConfig().Refresh();
            range.files.CheckFiles(true);
            m_frame.NewRelay(false, true, false, false);
            range.ReadFilesAgain(true, true);
        } else {
            range.ReadFilesAgain(true, false);
        }
        SendSetupToLineLanes(24);
        range.channels.UpdateOutsideControl();
    }
    // The relay column is headed by start number when the competition goes by them.
    m_frame.Views().BuildList();
    m_frame.Views().UpdateTitle();
}

void SetupCommands::OnLaneSettings()
{
    RangeObjects& obj = m_frame.Objects();
    RangeControl& range = m_frame.Range();
    LaneTable& lanes = obj.lanes;
    CDlgDefLane dialog(obj, m_frame.Window());
    if (FrameModal::Run(dialog) != platform::IDOK)
        return;
    // The dialog set the lanes' card images; their stored cards take the
    // settings too, or the file check below and the next relay would read
    // the old ones back.
    for (int lane = lanes.NextActiveLane(0); lane != 0; lane = lanes.NextActiveLane(lane))
        if (lanes[lane].rowMark && !range.cards.WriteCardSettings(lane))
            BV_LOG(m_log, 80, "Failed to write card %d:%d", lanes[lane].card.relay, lane);
    obj.programs.Refresh();
    if (obj.comp.CompConfig().IsOpen())
        obj.comp.CompConfig().Refresh();
    range.ReadFilesAgain(true, false);
    for (int lane = lanes.NextActiveLane(0); lane != 0; lane = lanes.NextActiveLane(lane)) {
        LaneBlock& b = lanes[lane];
        range.commands.SendLaneSetup(lane, 40);
        if (b.channelType == PortRecord::kOutsideSystem)
            ForEachOutsideSystem(obj.ports, [&](CVI9001& vi) { vi.SetLaneTargetType(lane, b.card.targetType); });
    }
    // The program's view shows what was set.
    m_frame.Views().SelectPage(2);
    m_frame.Views().BuildList();
}

void SetupCommands::OnLanguage()
{
    RangeObjects& obj = m_frame.Objects();
    CDlgLanguage dialog(m_frame.Window());
    dialog.m_code = obj.settings.profile.language.empty() ? obj.Text("IDS_LANG") : obj.settings.profile.language;
    const int rc = FrameModal::Run(dialog);
    const std::string code = dialog.m_code.empty() ? "EN" : dialog.m_code;
    LoadRangeLanguage(obj.language, code);
    if (rc == platform::IDOK) {
        // The choice is kept also when it is made at start-up, before the
        // program runs: it is not asked again at the next start.
        obj.settings.profile.language = code;
        obj.settings.SaveProfile();
    }
    if (m_frame.Running())
        m_frame.Views().SetMenuTexts(false);
    obj.targetTypes.SetLanguage(obj.Text("IDS_LANG").c_str());
}

void SetupCommands::OnSystemAdministration()
{
    RangeObjects& obj = m_frame.Objects();
    CBVConfig& config = obj.settings.Config();
    const std::string owner = config.IsOpen() ? Upper(ReadItem(config, RangeItems::kUserName)) : std::string();
    if (owner != kWorkshopOwner) {
        InputQuestion q;
        q.titleKey = "IDS_WRN_ADM_TITLE";
        q.promptKey = "IDS_WRN_ADM_PROMPT";
        if (!FrameModal::AskInput(m_frame.Window(), obj, q))
            return;
        if (q.text != kAdminPassword) {
            platform::MessageBox(obj.Text("IDS_WRN_ADM_PASS"));
            return;
        }
    }
    m_frame.ClosePorts();
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        LaneBlock& b = obj.lanes[lane];
        if (PortRecord::IsLine(b.channelType)) {
            b.lineStatus = LineStatus::kNoContact;
            b.rowMark = 1;
        }
    }
    m_frame.Range().files.RefreshChangedRows();

    // The loader works on the range's first line channel.
    const PortRecord& first = obj.ports[0];
    int port = -1;
    std::string adapter;
    if (PortRecord::IsUsb(first.type)) {
        port = CBVSWLoad::kUsbEntry;
        char name[16];
        std::snprintf(name, sizeof name, "BV1%05d", obj.RangeInt(RangeItems::UsbAdapter(0)) % 100000);
        adapter = name;
    } else if (PortRecord::IsSerial(first.type)) {
        port = first.type;
    }
    CBVSWLoad::RunLoader(m_frame.Window(), LoaderLanguage(obj.Text("IDS_LANG")), BuiltInRangeTexts(), port, adapter);

    m_frame.OpenPorts();
    m_frame.RefreshAll();
}

void SetupCommands::OnAppAbout()
{
    CDlgAbout about(m_frame.Window());
    FrameModal::Run(about);
}
