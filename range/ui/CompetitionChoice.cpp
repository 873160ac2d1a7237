#include "range/ui/CompetitionChoice.h"

#include "foundation/files/BVFileEx.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "line/outside/CVI9001.h"
#include "platform/files/FileSystem.h"
#include "platform/system/SystemInfo.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Prompter.h"
#include "range/ui/FrameModal.h"
#include "range/ui/MainFrm.h"
#include "range/ui/setup/DlgComp.h"
#include "range/ui/setup/DlgDefComp.h"

#include <string>

void CompetitionChoice::OnCompetitionChoice()
{
    RangeObjects& obj = m_frame.Objects();
    RangeControl& range = m_frame.Range();
    CDlgComp choice(m_frame.Window(), obj, [this](int n) { return CreateCompetition(n); });
    if (FrameModal::Run(choice) != platform::IDOK) {
        m_frame.Views().UpdateTitle();
        return;
    }
    PauseScope pause(m_frame.m_tick);
    const int chosen = choice.ChosenCompetition();
    // A competition made just now gets its settings before the range goes to it.
    if (choice.Created() && chosen > 0) {
        CDlgDefComp settings(m_frame.Window(), obj, chosen);
        if (FrameModal::Run(settings) != platform::IDOK) {
            m_frame.Views().UpdateTitle();
            return;
        }
    }
    if (chosen == 0) {
        SwitchToPractice();
        range.ReadFilesAgain(true, true);
    } else if (chosen > 0 &&
               platform::MessageBox(obj.Text("IDS_COMP_WRNSEL"), {}, platform::MessageIcon::None,
                                    platform::MessageButtons::YesNo) == platform::IDYES) {
        CBVConfig& config = obj.settings.Config();
        if (config.IsOpen())
            WriteItem(config, RangeItems::kCurrentCompetition, chosen);
        obj.comp.Close();
        obj.comp.Open(chosen, 1);
        SetComputerName(true);
        range.ReadFilesAgain(true, true);
        // At start-up the lines open after the choice and the targets get the
        // start-up reset then; a running range takes the competition now.
        if (m_frame.Running()) {
            ResetLanesForCompetition();
            for (int lane = obj.lanes.NextActiveLane(0); lane != 0; lane = obj.lanes.NextActiveLane(lane)) {
                if (obj.lanes[lane].channelType != PortRecord::kOutsideSystem)
                    continue;
                ForEachOutsideSystem(obj.ports, [lane](CVI9001& vi) { vi.PutRemote(lane); });
                range.channels.MarkLane(lane, 4);
            }
            m_frame.NewRelay(false, false, false, true);
        }
    }
    range.channels.UpdateOutsideControl();
    m_frame.Views().UpdateTitle();
}

void CompetitionChoice::SetComputerName(bool set)
{
    CBVConfig& config = m_frame.Objects().settings.Config();
    // The displays of the range find the clock link's computer here.
    CRangeSettings::WriteComputerName(config, set ? platform::ComputerName() : std::string());
}

bool CompetitionChoice::CreateCompetition(int n)
{
    RangeObjects& obj = m_frame.Objects();
    std::string folder = CompSettings::FolderOf(".\\", n);
    if (!platform::FolderExists(folder)) {
        BV_LOG(m_log, 70, "Can't find directory %s tries to create!", folder.c_str());
    }
    CBVConfig& current = obj.comp.CompConfig();
    int rc = CompSettings::CreateCompetition(".\\", n, current, obj.language.GetText("IDS_COMP_NAME"));
    if (rc != 0 || CBVFileEx::TestFolder(folder) == 0) {
        platform::MessageBox(obj.language.GetText("IDS_COMP_WRNFAIL"));
        if (platform::FileExists(folder))
            BV_LOG(m_log, 90, "%s is a file", folder.c_str());
        else
            BV_LOG(m_log, 90, "Can't find directory %s!", folder.c_str());
        return false;
    }
    return true;
}

void CompetitionChoice::SwitchToPractice()
{
    RangeObjects& obj = m_frame.Objects();
    CBVConfig& config = obj.settings.Config();
    if (config.IsOpen())
        WriteItem(config, RangeItems::kCurrentCompetition, 0);
    SetUpLanes(true);
    std::string folder = CompSettings::FolderOf(".\\", 0);
    if (!platform::FolderExists(folder)) {
        BV_LOG(m_log, 70, "Can't find directory %s tries to create!", folder.c_str());
        CreateCompetition(0);
    }
    obj.comp.Close();
    obj.comp.Open(0, 1);
    SetComputerName(true);
    if (obj.comp.CompConfig().IsOpen())
        WriteItem(obj.comp.CompConfig(), CompSettings::kName, obj.language.GetText("IDS_COMP_TRAINNAME"));
    m_frame.Range().ReadFilesAgain(true, true);
    m_frame.Views().UpdateTitle();
    m_frame.ShowStatusKey("IDS_INFO_PC");
}

void CompetitionChoice::ResetLanesForCompetition()
{
    m_frame.ShowStatusKey("IDS_INFO_PC");
    SetUpLanes(false);
}

void CompetitionChoice::SetUpLanes(bool practice)
{
    RangeObjects& obj = m_frame.Objects();
    const int twin = practice ? 0 : obj.CompInt(CompSettings::kTwinLane);
    for (int lane = LaneTable::kFirstLane; lane <= LaneTable::kLastLane; ++lane) {
        LaneBlock& b = obj.lanes[lane];
        if (b.channelType == 0)
            continue;
        if (b.channelType == PortRecord::kOutsideSystem) {
            if (b.enabled)
                ForEachOutsideSystem(obj.ports, [lane](CVI9001& vi) { vi.SetLaneActive(lane, false); });
            continue;
        }
        if (!practice && (b.enabled || lane == twin)) {
            m_frame.Range().commands.SendLaneSetup(lane, 58);
        } else {
            m_frame.Range().commands.SendLaneSetup(lane, 20);
            b.printFlag = 0;
            b.cardCountdown = 0;
        }
    }
    m_frame.Range().channels.UpdateOutsideControl();
}
