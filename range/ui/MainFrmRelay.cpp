// The frame's work on the lanes' cards: a new relay of shooters, chosen in
// the new-shooters dialog, a simulated shot made in the simulation dialog,
// and the operations that the series commands and the welcome texts fill
// in. Until they are, each does nothing, so the panel's buttons are harmless.
#include "range/ui/MainFrm.h"

#include "platform/ui/FrameWnd.h"
#include "range/ui/FrameModal.h"
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

void CMainFrame::SendClockMode(int) {}

void CMainFrame::ShootSeries(int, int, bool) {}

void CMainFrame::MarkSeries(int, int, bool) {}

void CMainFrame::MarkTwinLane(int, int) {}

void CMainFrame::OnNewShooter() {}

void CMainFrame::Welcome(int) {}

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
