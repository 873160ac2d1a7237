// The frame's score card dialog: made on the card commands, one at a time,
// following new shots from the tick, closed with the program.
#include "range/ui/MainFrm.h"

#include "platform/ui/FrameWnd.h"

void CMainFrame::OpenCardDialog()
{
    // A dialog still setting itself up, or waiting on the officer in one of
    // its operations, is left as it is.
    if (m_cardDlg && m_cardDlg->Busy())
        return;
    CloseCardDialog();
    auto* dlg = new CDlgCard(*this, Window());
    const int lane = NextActiveLane(0);
    dlg->m_lane = lane;
    dlg->m_lastLane = NextActiveLane(-1);
    if (LaneTable::IsLane(lane)) {
        const LaneBlock& b = m_obj.lanes[lane];
        dlg->m_seriesIndex = (b.active.seriesState & 0x7F) - 1;
        dlg->m_relay = b.active.relay > 0 ? b.active.relay : 1;
    } else {
        dlg->m_relay = 1;
    }
    m_cardDlg = dlg;
    if (dlg->Create())
        dlg->ShowWindow(true);
}

void CMainFrame::CloseCardDialog()
{
    if (!m_cardDlg)
        return;
    m_cardDlg->Close();
    // Later when it has a window to belong to (it may be handling its own
    // click), at once without one.
    if (Window())
        m_cardDlg->deleteLater();
    else
        delete m_cardDlg.data();
    m_cardDlg = nullptr;
}

// An open card dialog follows the card's shots.
void CMainFrame::RefreshCardDialog()
{
    if (m_cardDlg)
        m_cardDlg->Refresh();
}
