// Work that the dispatcher, the tick and the commands hand on to the cards'
// printing, the views and the dialogs. Each does here the least that keeps
// the range running; the parts that own them fill them in.
#include "range/ui/MainFrm.h"

void CMainFrame::OnMonitorPrintMsg(const LineMessage&) {}

void CMainFrame::OnFetchShot(const LineMessage&) {}

// The light dialog takes the message only while it is open.
void CMainFrame::OnLightMsg(const LineMessage&) {}

// The unit status dialog shows versions and states only while it is open.
void CMainFrame::OnUnitMsg(const LineMessage&) {}

void CMainFrame::RedrawRow(int) {}

void CMainFrame::RefreshPanel() {}

void CMainFrame::RankLanes() {}

void CMainFrame::OnCompetitionChoice() {}
