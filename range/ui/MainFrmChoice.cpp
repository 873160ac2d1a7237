// The frame's set-up dialogs: the competition choice with the switch to
// the competition chosen, and the interface dialog.
#include "range/ui/MainFrm.h"

#include "foundation/settings/RangeSettings.h"
#include "platform/files/ProfileStore.h"
#include "platform/system/Codepage.h"
#include "platform/ui/FrameWnd.h"
#include "line/outside/CVI9001.h"
#include "range/ui/setup/DlgComp.h"
#include "range/ui/setup/DlgDefComp.h"
#include "range/ui/setup/DlgInterface.h"
#include "range/ui/FrameModal.h"


void CMainFrame::OnCompetitionChoice()
{
    CDlgComp choice(Window(), m_obj, [this](int n) { return CreateCompetition(n); });
    if (FrameModal::Run(choice) != platform::IDOK) {
        UpdateTitle();
        return;
    }
    PauseScope pause(m_tick);
    const int chosen = choice.ChosenCompetition();
    // A competition made just now gets its settings before the range goes to it.
    if (choice.Created() && chosen > 0) {
        CDlgDefComp settings(Window(), m_obj, chosen);
        if (FrameModal::Run(settings) != platform::IDOK) {
            UpdateTitle();
            return;
        }
    }
    if (chosen == 0) {
        SwitchToPractice();
        CheckFiles(true);
        ReloadShots(true);
        RefreshViews();
        RefreshChangedRows();
    } else if (chosen > 0 &&
               platform::MessageBox(m_obj.Text("IDS_COMP_WRNSEL"), {}, platform::MessageIcon::None,
                                    platform::MessageButtons::YesNo) == platform::IDYES) {
        CBVConfig& config = m_obj.settings.Config();
        if (config.IsOpen())
            WriteItem(config, RangeItems::kCurrentCompetition, chosen);
        m_obj.comp.Close();
        m_obj.comp.Open(chosen, 1);
        SetComputerName(true);
        CheckFiles(true);
        ReloadShots(true);
        RefreshViews();
        RefreshChangedRows();
        // At start-up the lines open after the choice and the targets get the
        // start-up reset then; a running range takes the competition now.
        if (Running()) {
            ResetLanesForCompetition();
            for (int lane = NextActiveLane(0); lane != 0; lane = NextActiveLane(lane)) {
                if (m_obj.lanes[lane].channelType != PortRecord::kOutsideSystem)
                    continue;
                for (PortRecord& p : m_obj.ports)
                    if (p.type == PortRecord::kOutsideSystem && p.outside)
                        p.outside->PutRemote(lane);
                MarkLane(lane, 4);
            }
            NewRelay(false, false, false, true);
        }
    }
    m_range.channels.UpdateOutsideControl();
    UpdateTitle();
}

int CMainFrame::RunInterfaceDialog()
{
    CDlgInterface dialog(Window(), m_obj, {[this] { ClosePorts(); }, [this] { OpenPorts(); }});
    return FrameModal::Run(dialog);
}
