// The lanes' active records: which card each lane shows and its series,
// shared with the display and remote programs through Active.BVD.
#include "range/MainFrm.h"

void CMainFrame::WriteActive(int lane, uint8_t series)
{
    if (lane < 0 || lane > LaneTable::kLastLane)
        return;
}

int CMainFrame::ActiveRelay(int lane) const { return 0; }

void CMainFrame::ReloadShotRecord(int relay, int lane, int count) {}

void CMainFrame::SendCardOverview(int lane) {}
