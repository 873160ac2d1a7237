// The frame's work on the lanes' cards and series: a new relay of
// shooters, chosen in the new-shooters dialog, the series commands and the
// lane dialog they ask, a simulated shot made in the simulation dialog, and
// the welcome texts.
#include "range/ui/MainFrm.h"

#include "platform/ui/FrameWnd.h"
#include "range/ui/FrameModal.h"
#include "range/ui/dialogs/DlgLaneSel.h"
#include "range/ui/views/FormList.h"
#include "range/ui/views/FormPanel.h"
#include "range/ui/dialogs/DlgRelay.h"
#include "range/ui/dialogs/DlgSimulate.h"

namespace {

// The officer answers in the new-shooters dialog.
class DialogRelayChooser : public RelayChooser {
public:
    explicit DialogRelayChooser(CMainFrame& frame) : m_frame(frame) {}
    bool Choose(const RelayRequest& request, RelayChoice& choice) override
    {
        CDlgRelay dialog(m_frame, m_frame.Window());
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
    SendOfficeResults();
    NewRelay(true, false, false, false);
}

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

void CMainFrame::RedrawClock()
{
    if (CFormPanel* panel = Panel())
        panel->DrawClock();
}

void CMainFrame::Welcome(int lane)
{
    if (!m_welcome.Welcome(lane))
        return;
    SelectPage(1);
    if (CFormList* list = List())
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
    SimulateShots(lane, 1);
    m_range.simulation.Simulator().SetFields({});
}
