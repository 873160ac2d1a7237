// The frame's work on the lanes' cards: a new relay of shooters, and the
// operations that the series commands, the welcome texts and the simulation
// dialog fill in. Until they are, each does nothing, so the panel's buttons
// and the list's clicks are harmless.
#include "range/ui/MainFrm.h"

int CMainFrame::NewRelay(bool nextRelay, bool force, bool noAllLanes, bool reset)
{
    RelayRequest request;
    request.nextRelay = nextRelay;
    request.force = force;
    request.noAllLanes = noAllLanes;
    request.reset = reset;
    if (!m_relayChooser)
        m_relayChooser = std::make_unique<ProposedRelayChooser>(m_obj);
    return m_relayChange.NewRelay(request, *m_relayChooser, [this](int lane) { Welcome(lane); });
}

void CMainFrame::SetRelayChooser(std::unique_ptr<RelayChooser> chooser) { m_relayChooser = std::move(chooser); }

void CMainFrame::SendClockMode(int) {}

void CMainFrame::ShootSeries(int, int, bool) {}

void CMainFrame::MarkSeries(int, int, bool) {}

void CMainFrame::MarkTwinLane(int, int) {}

void CMainFrame::OnNewShooter() {}

void CMainFrame::Welcome(int) {}

void CMainFrame::OnSimulate(int) {}
