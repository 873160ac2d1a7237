// The commands that open the series dialogs: the target lift, the band
// motors, the welcome with its lane dialog, and the final marking.
#include "range/ui/MainFrm.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Prompter.h"
#include "range/ui/dialogs/DlgFinal.h"
#include "range/ui/dialogs/DlgLaneSel.h"
#include "range/ui/dialogs/DlgLift.h"

namespace {

// Programs of lifting targets, on a range whose equipment answers them.
bool LiftProgram(int programEquipment) { return programEquipment == 3 || programEquipment == 131; }

}  // namespace

void CMainFrame::OnLift()
{
    CDlgLift d(Window());
    d.onLift = [this](int lane, int code) { SendLift(lane, code); };
    d.DoModal();
}

void CMainFrame::OnMotor()
{
    if (CompetitionNumber() <= 0) {
        Message(m_obj.Text("IDS_WRN_COMPTRAIN"));
        return;
    }
    CDlgLaneSel d(Window());
    d.m_title = m_obj.Text("IDS_LANESEL_TITLE_MOTOR");
    d.m_relayLabel = m_obj.Text("IDS_LANESEL_ADVANCECOUNT");
    d.m_relayMax = 10;
    d.m_relay = 1;
    d.m_lane = NextActiveLane(0);
    d.m_form = CDlgLaneSel::kMotor;
    d.m_extraButtonKey = "IDS_LANESEL_ADVANCEBUTTON";
    d.onAdvance = [this](int lane, int count) { SendMotor(lane, count); };
    d.DoModal();
}

void CMainFrame::OnWelcomeCommand()
{
    if (CompetitionNumber() <= 0) {
        Message(m_obj.Text("IDS_WRN_COMPTRAIN"));
        return;
    }
    const int external = RangeInt(RangeItems::kExternalEquipment);
    const bool lifts = LiftProgram(m_obj.programs.GetEquipment(0));
    const bool importNames = lifts && (external == 3 || external == 4);
    const bool laneSetup = lifts && external == 3;
    auto setUp = [this, laneSetup](int lane) {
        if (!laneSetup)
            return;
        if (lane != 0) {
            SendLaneSetup(lane, 90);
            return;
        }
        for (int l = NextActiveLane(0); l != 0; l = NextActiveLane(l))
            SendLaneSetup(l, 90);
    };
    if (Options().IsOn(CompOptions::RelayChangeAllLanes)) {
        if (importNames)
            ImportNames(0);
        setUp(0);
        Welcome(0);
        return;
    }
    LaneChoice choice;
    choice.titleKey = "IDS_LANESEL_TITLE_WELCOME";
    choice.lane = NextActiveLane(0);
    if (!ChooseLane(choice))
        return;
    const int lane = choice.allTargets ? 0 : choice.lane;
    if (importNames)
        ImportNames(lane);
    setUp(lane);
    Welcome(lane);
}

void CMainFrame::OnWelcomeOne()
{
    LaneChoice choice;
    choice.titleKey = "IDS_LANESEL_TITLE_WELCOME";
    choice.lane = NextActiveLane(0);
    if (ChooseLane(choice))
        Welcome(choice.allTargets ? 0 : choice.lane);
}

void CMainFrame::OnFinalMarking()
{
    if (CompetitionNumber() <= 0) {
        Message(m_obj.Text("IDS_WRN_COMPTRAIN"));
        return;
    }
    if (platform::MessageBox(m_obj.Text("IDS_FINAL_CONFIRM"), {}, platform::MessageIcon::Question,
                             platform::MessageButtons::YesNo) != platform::IDYES)
        return;
    const int first = NextActiveLane(0);
    if (first == 0)
        return;
    const int last = NextActiveLane(-1);
    int current = last;
    if (Options().IsOn(CompOptions::StartNumbers)) {
        // The lane field holds a start number: the last one on the lanes.
        current = 0;
        for (int l = first; l != 0; l = NextActiveLane(l))
            if (m_obj.lanes[l].card.relay != 0)
                current = m_obj.lanes[l].card.relay;
    }
    CDlgFinal d(m_obj, m_range, Window());
    d.Begin(first, last, current, CompInt(CompSettings::kCurrentSeries));
    d.onSendResults = [this] { SendOfficeResults(); };
    d.DoModal();
}
