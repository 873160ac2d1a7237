// Work that the dispatcher and the commands hand on to the shot intake, the
// cards, the question box, the views and the dialogs. Each does here the
// least that keeps the range running; the parts that own them fill them in.
#include "range/MainFrm.h"

void CMainFrame::OnShotMsg(const LineMessage&) {}

void CMainFrame::OnMonitorPrintMsg(const LineMessage&) {}

// The light dialog takes the message only while it is open.
void CMainFrame::OnLightMsg(const LineMessage&) {}

// The unit status dialog shows versions and states only while it is open.
void CMainFrame::OnUnitMsg(const LineMessage&) {}

void CMainFrame::RequestMissingShots(int) {}

void CMainFrame::SendLaneText(int, int, bool) {}

void CMainFrame::RecomputeLane(int) {}

void CMainFrame::CloseAsk() { m_askType = 0; }

void CMainFrame::OnAskCountdown()
{
    if (m_askType == 1) {
        // The question stays only while some lane's target does not fit.
        bool practice = CompetitionNumber() == 0;
        for (int lane = NextActiveLane(0); lane != 0; lane = NextActiveLane(lane)) {
            uint8_t flags = m_obj.lanes[lane].startupDifference;
            if (practice)
                flags &= static_cast<uint8_t>(~1);
            if (flags)
                return;
        }
    }
    CloseAsk();
}

void CMainFrame::RedrawRow(int) {}

void CMainFrame::RefreshPanel() {}
