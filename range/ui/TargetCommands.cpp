#include "range/ui/TargetCommands.h"

#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Prompter.h"
#include "range/ui/MainFrm.h"
#include "range/ui/dialogs/DlgFinal.h"
#include "range/ui/dialogs/DlgLaneSel.h"
#include "range/ui/dialogs/DlgLift.h"
#include "range/ui/views/FormPanel.h"

namespace {

// Programs of lifting targets, on a range whose equipment answers them.
bool LiftProgram(int programEquipment) { return programEquipment == 3 || programEquipment == 131; }

}  // namespace

bool TargetCommands::InCompetition()
{
    if (m_frame.Objects().CompetitionNumber() > 0)
        return true;
    m_frame.Message(m_frame.Objects().Text("IDS_WRN_COMPTRAIN"));
    return false;
}

void TargetCommands::OnZoom(int level) { m_frame.Range().commands.SendZoom(0, level); }

void TargetCommands::OnLift()
{
    CDlgLift d(m_frame.Window());
    d.onLift = [this](int lane, int code) { m_frame.Range().commands.SendLift(lane, code); };
    d.DoModal();
}

void TargetCommands::OnMotor()
{
    if (!InCompetition())
        return;
    RangeObjects& obj = m_frame.Objects();
    CDlgLaneSel d(m_frame.Window());
    d.m_title = obj.Text("IDS_LANESEL_TITLE_MOTOR");
    d.m_relayLabel = obj.Text("IDS_LANESEL_ADVANCECOUNT");
    d.m_relayMax = 10;
    d.m_relay = 1;
    d.m_lane = obj.lanes.NextActiveLane(0);
    d.m_form = CDlgLaneSel::kMotor;
    d.m_extraButtonKey = "IDS_LANESEL_ADVANCEBUTTON";
    d.onAdvance = [this](int lane, int count) { m_frame.Range().commands.SendMotor(lane, count); };
    d.DoModal();
}

void TargetCommands::OnLightCommand()
{
    m_frame.Dialogs().OpenLightDialog();
    const int full[3] = {255, 255, 255};
    m_frame.Range().commands.SendLight(0, full);
}

void TargetCommands::OnClockStart()
{
    m_frame.Objects().clock.Start();
    m_frame.SendClockMode(0);
    if (CFormPanel* p = m_frame.Views().Panel())
        p->DrawClock();
}

void TargetCommands::OnClockStop()
{
    m_frame.Objects().clock.Stop();
    m_frame.SendClock();
    if (CFormPanel* p = m_frame.Views().Panel())
        p->DrawClock();
}

void TargetCommands::OnWelcomeCommand()
{
    if (!InCompetition())
        return;
    RangeObjects& obj = m_frame.Objects();
    RangeControl& range = m_frame.Range();
    const int external = obj.RangeInt(RangeItems::kExternalEquipment);
    const bool lifts = LiftProgram(obj.programs.GetEquipment(0));
    const bool importNames = lifts && (external == 3 || external == 4);
    const bool laneSetup = lifts && external == 3;
    auto setUp = [&obj, &range, laneSetup](int lane) {
        if (!laneSetup)
            return;
        if (lane != 0) {
            range.commands.SendLaneSetup(lane, 90);
            return;
        }
        for (int l = obj.lanes.NextActiveLane(0); l != 0; l = obj.lanes.NextActiveLane(l))
            range.commands.SendLaneSetup(l, 90);
    };
    if (obj.Options().IsOn(CompOptions::RelayChangeAllLanes)) {
        if (importNames)
            range.exchange.ImportNames(0);
        setUp(0);
        m_frame.Welcome(0);
        return;
    }
    LaneChoice choice;
    choice.titleKey = "IDS_LANESEL_TITLE_WELCOME";
    choice.lane = obj.lanes.NextActiveLane(0);
    if (!m_frame.ChooseLane(choice))
        return;
    const int lane = choice.allTargets ? 0 : choice.lane;
    if (importNames)
        range.exchange.ImportNames(lane);
    setUp(lane);
    m_frame.Welcome(lane);
}

void TargetCommands::OnWelcomeOne()
{
    LaneChoice choice;
    choice.titleKey = "IDS_LANESEL_TITLE_WELCOME";
    choice.lane = m_frame.Objects().lanes.NextActiveLane(0);
    if (m_frame.ChooseLane(choice))
        m_frame.Welcome(choice.allTargets ? 0 : choice.lane);
}

void TargetCommands::OnFinalMarking()
{
    if (!InCompetition())
        return;
    RangeObjects& obj = m_frame.Objects();
    if (platform::MessageBox(obj.Text("IDS_FINAL_CONFIRM"), {}, platform::MessageIcon::Question,
                             platform::MessageButtons::YesNo) != platform::IDYES)
        return;
    const LaneTable& lanes = obj.lanes;
    const int first = lanes.NextActiveLane(0);
    if (first == 0)
        return;
    const int last = lanes.NextActiveLane(-1);
    int current = last;
    if (obj.Options().IsOn(CompOptions::StartNumbers)) {
        // The lane field holds a start number: the last one on the lanes.
        current = 0;
        for (int l = first; l != 0; l = lanes.NextActiveLane(l))
            if (lanes[l].card.relay != 0)
                current = lanes[l].card.relay;
    }
    CDlgFinal d(obj, m_frame.Range(), m_frame.Window());
    d.Begin(first, last, current, obj.CompInt(CompSettings::kCurrentSeries));
    d.onSendResults = [this] { m_frame.Range().exchange.SendOfficeResults(); };
    d.DoModal();
}
