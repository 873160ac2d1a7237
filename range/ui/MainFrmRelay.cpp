// The frame's work on the lanes' cards and series: a new relay of
// shooters, the series commands and the lane dialog they ask, the welcome
// texts; the simulation dialog of a lane is still to come and does nothing.
#include "range/ui/MainFrm.h"

#include "platform/ui/FrameWnd.h"
#include "range/ui/dialogs/DlgLaneSel.h"
#include "range/ui/views/FormList.h"
#include "range/ui/views/FormPanel.h"

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

void CMainFrame::OnSimulate(int) {}
