// The range control's start, run and close: the first focus arms the tick,
// the first tick opens the competition and the lines, and closing asks first
// while lines are open.
#include "range/ui/MainFrm.h"

#include "foundation/comp/FileFaults.h"
#include "foundation/files/BVFileEx.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/ui/net/BVSocket.h"
#include "line/outside/CVI9001.h"
#include "line/ui/BVSWLoad.h"
#include "platform/files/FileSystem.h"
#include "platform/system/SystemInfo.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Prompter.h"
#include "range/ui/BVLederApp.h"

#include <cctype>
#include <cstdio>

namespace {

// The word after the program's name that starts the workshop mode, in which
// the program only loads software into target units.
constexpr const char* kProductionWord = "VERKSTEDER";

bool HasChannelSettings(CBVConfig& config)
{
    for (int k = 0; k < CRangeSettings::kChannels; ++k)
        if (!ReadItem(config, RangeItems::Channel(k)).empty())
            return true;
    return false;
}

}  // namespace

bool CMainFrame::IsProductionMode(const std::string& commandLine)
{
    std::string upper;
    for (char c : commandLine)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    size_t blank = upper.find(' ');
    if (blank == std::string::npos)
        return false;
    size_t start = upper.find_first_not_of(' ', blank);
    if (start == std::string::npos)
        return false;
    size_t end = upper.find(' ', start);
    return upper.substr(start, end == std::string::npos ? std::string::npos : end - start) == kProductionWord;
}

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
    CDataComp& comp = m_obj.comp;
    comp.Close();

    if (IsProductionMode(commandLine)) {
        // The workshop loads software into target units and nothing else,
        // in Norwegian; without a competition the program closes on this
        // tick. The loader stands alone: the minimised frame is no owner.
        m_tick.startState = TickSchedule::StartState::Production;
        if (Window())
            Window()->showMinimized();
        CBVSWLoad::RunLoader(nullptr, "NO", BuiltInRangeTexts());
        return -1;
    }

    if (CBVFileEx::TestFolder(".\\") == 0) {
        BV_LOG(m_log, 80, "Failed to get access to working directory!");
        platform::MessageBox(m_obj.language.GetText("IDS_WRN_ACCESS"));
        return -1;
    }

    // A range configuration that cannot be read is left as it is: the range
    // does not run on defaults that would overwrite it.
    if (!platform::FileExists(CRangeSettings::kConfigPath))
        BV_LOG(m_log, 80, "BVLeder.bvc: missing, made anew");
    else if (std::string fault = ConfigFileFault(CRangeSettings::kConfigPath); !fault.empty())
        return RefuseDamagedFile("BVLeder.bvc: " + fault);
    // Without its shooting programs the range runs on; the lanes get none.
    if (std::string fault = ConfigFileFault(".\\Program.BVC"); !fault.empty())
        BV_LOG(m_log, 80, "Program.BVC: %s", fault.c_str());

    m_obj.settings.OpenConfig();
    CBVConfig& config = m_obj.settings.Config();
    if (config.IsOpen())
        config.Refresh();

    // A range that never chose its language does so first.
    if (m_obj.settings.profile.language.empty())
        OnLanguage();

    // A range without any line channel is set up before it opens a competition.
    if (config.IsOpen() && !HasChannelSettings(config))
        RunInterfaceDialog();

    // A range folder that never chose a competition has none, rather than
    // the practice competition the item's default would give.
    constexpr ConfigIntItem kStoredCompetition{1, 1, 680, -1};
    int competition = m_obj.settings.GetCurrentComp();
    if (config.IsOpen() && ReadItem(config, kStoredCompetition) < 0)
        competition = -1;
    if (competition < 0 || CBVFileEx::TestFolder(CompSettings::FolderOf(".\\", competition)) == 0) {
        // The officer chooses another competition, which becomes the range's.
        OnCompetitionChoice();
        if (config.IsOpen())
            competition = ReadItem(config, kStoredCompetition);
        comp.Close();
        SetComputerName(false);
    }
    if (competition < 0) {
        BV_LOG(m_log, 80, "No valid competition selected!");
        // The range did not start: the program ends with a failing status.
        m_startFailed = true;
        platform::MessageBox(m_obj.language.GetText("IDS_WRN_NOCOMP"));
        return -1;
    }
    // A competition that is not there is named as such, not as a folder
    // that cannot be written.
    if (!platform::FolderExists(CompSettings::FolderOf(".\\", competition)))
        return RefuseDamagedFile(CompSettings::FolderOf("", competition) + ": missing");
    if (CBVFileEx::TestFolder(CompSettings::FolderOf(".\\", competition)) == 0) {
        BV_LOG(m_log, 80, "Failed to get access to comp%d directory!", competition);
        platform::MessageBox(m_obj.language.GetText("IDS_WRN_ACCESS"));
        return -1;
    }
    // A competition file that cannot be read is named once and left alone,
    // rather than failing on every lane and every tick.
    if (std::string fault = CompetitionFault(".\\", competition, true, true); !fault.empty())
        return RefuseDamagedFile(CompSettings::FolderOf("", competition) + "\\" + fault);

    comp.Open(competition, 1);
    SetComputerName(true);
    OpenPorts();
    CheckFiles(true);
    // The outside system's lanes the competition enables go under remote control.
    m_range.channels.UpdateOutsideControl();
    ReloadShots(true);
    RefreshViews();
    RefreshChangedRows();
    RankLanes();
    UpdateTitle();
    WriteActive(0, 0);
    // The lane list heads its relay column by start number or relay, and
    // every menu, view and title text is the language's.
    SetMenuTexts(false);
    return CompetitionNumber();
}

int CMainFrame::RefuseDamagedFile(const std::string& fileAndFault)
{
    BV_LOG(m_log, 90, "%s", fileAndFault.c_str());
    m_startFailed = true;
    platform::MessageBox(m_obj.language.GetText("IDS_WRN_DAMAGED") + "\n" + fileAndFault);
    return -1;
}

void CMainFrame::SetComputerName(bool set)
{
    CBVConfig& config = m_obj.settings.Config();
    // The displays of the range find the clock link's computer here.
    CRangeSettings::WriteComputerName(config, set ? platform::ComputerName() : std::string());
}

void CMainFrame::SendStartupMode() { SendMode(48, 0, 0); }

void CMainFrame::UpdateTitle()
{
    if (!Window())
        return;
    std::string name = "Comp";
    if (m_obj.comp.IsOpen() && m_obj.comp.CompConfig().IsOpen())
        name = ReadItem(m_obj.comp.CompConfig(), ConfigTextItem{2, 1, 500, "Comp"});
    Window()->SetCaption(m_obj.language.GetText("IDR_MAINFRAME") + " - " + name);
}

bool CMainFrame::ExitQuestionDue() const
{
    if (Simulation())
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
    if (ExitQuestionDue() && !noQuestion && CompetitionNumber() > 0) {
        Ask(AskState::Exit);
        return;
    }
    m_socket.reset();
    m_obj.settings.SaveProfile();
    CloseLineMonitor();
    CloseLightDialog();
    CloseStatusDialog();
    CloseCardDialog();
    ClosePorts();
    KillTimer();
    SetComputerName(false);
    m_closed = true;
    m_closing = true;
    if (m_askBox)
        m_askBox->Close();
    if (Window())
        Window()->close();
}

bool CMainFrame::CreateCompetition(int n)
{
    std::string folder = CompSettings::FolderOf(".\\", n);
    if (!platform::FolderExists(folder)) {
        BV_LOG(m_log, 70, "Can't find directory %s tries to create!", folder.c_str());
    }
    CBVConfig& current = m_obj.comp.CompConfig();
    int rc = CompSettings::CreateCompetition(".\\", n, current, m_obj.language.GetText("IDS_COMP_NAME"));
    if (rc != 0 || CBVFileEx::TestFolder(folder) == 0) {
        platform::MessageBox(m_obj.language.GetText("IDS_COMP_WRNFAIL"));
        if (platform::FileExists(folder))
            BV_LOG(m_log, 90, "%s is a file", folder.c_str());
        else
            BV_LOG(m_log, 90, "Can't find directory %s!", folder.c_str());
        return false;
    }
    return true;
}

void CMainFrame::SwitchToPractice()
{
    CBVConfig& config = m_obj.settings.Config();
    if (config.IsOpen())
        WriteItem(config, RangeItems::kCurrentCompetition, 0);
    for (int lane = 1; lane <= LaneTable::kLastLane; ++lane) {
        LaneBlock& b = m_obj.lanes[lane];
        if (b.channelType == 0)
            continue;
        if (b.channelType == PortRecord::kOutsideSystem) {
            // The practice competition takes no lane of the outside system.
            if (b.enabled)
                for (PortRecord& p : m_obj.ports)
                    if (p.type == PortRecord::kOutsideSystem && p.outside)
                        p.outside->SetLaneActive(lane, false);
            continue;
        }
        SendLaneSetup(lane, 20);
        b.printFlag = 0;
        b.cardCountdown = 0;
    }
    m_range.channels.UpdateOutsideControl();
    std::string folder = CompSettings::FolderOf(".\\", 0);
    if (!platform::FolderExists(folder)) {
        BV_LOG(m_log, 70, "Can't find directory %s tries to create!", folder.c_str());
        CreateCompetition(0);
    }
    m_obj.comp.Close();
    m_obj.comp.Open(0, 1);
    SetComputerName(true);
    if (m_obj.comp.CompConfig().IsOpen())
        WriteItem(m_obj.comp.CompConfig(), CompSettings::kName, m_obj.language.GetText("IDS_COMP_TRAINNAME"));
    CheckFiles(true);
    RefreshViews();
    ReloadShots(true);
    RefreshChangedRows();
    UpdateTitle();
    ShowStatusKey("IDS_INFO_PC");
}
