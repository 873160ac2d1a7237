#include "range/ui/FrameDialogs.h"

#include "platform/ui/FrameWnd.h"
#include "range/dialogs/LampTable.h"
#include "range/ui/DlgLineSpy.h"
#include "range/ui/MainFrm.h"
#include "range/ui/dialogs/DlgLC.h"
#include "range/ui/dialogs/DlgStatus.h"
#include "range/ui/scorecard/DlgCard.h"

namespace {

// A modeless dialog ends its run, then goes: later when it has a window to
// belong to (it may be handling its own click), at once without one.
template <typename Dlg>
void Dispose(QPointer<Dlg>& dlg, bool hasWindow)
{
    if (!dlg)
        return;
    dlg->Close();
    if (hasWindow)
        dlg->deleteLater();
    else
        delete dlg.data();
    dlg = nullptr;
}

}  // namespace

CDlgLC* FrameDialogs::LightDialog() const { return m_light; }

CDlgStatus* FrameDialogs::StatusDialog() const { return m_status; }

CDlgCard* FrameDialogs::CardDialog() const { return m_card; }

CDlgLineSpy* FrameDialogs::LineMonitor() const { return m_lineSpy; }

void FrameDialogs::OpenLightDialog()
{
    CloseLightDialog();
    m_light = new CDlgLC(m_frame.Objects(), m_frame.Range(), m_frame.Window());
    if (m_light->Create())
        m_light->ShowWindow(true);
    // Every target answers with its light message, which fills its row.
    const int unchanged[3] = {LampTable::kUnchanged, LampTable::kUnchanged, LampTable::kUnchanged};
    m_frame.Range().commands.SendLight(0, unchanged);
}

void FrameDialogs::OpenStatusDialog()
{
    CloseStatusDialog();
    m_status = new CDlgStatus(m_frame.Objects(), m_frame.Range(), m_frame.Window());
    if (m_status->Create())
        m_status->ShowWindow(true);
    m_frame.Range().commands.SendStatusQuery();
}

void FrameDialogs::OpenCardDialog()
{
    // A dialog still setting itself up, or waiting on the officer in one of
    // its operations, is left as it is.
    if (m_card && m_card->Busy())
        return;
    CloseCardDialog();
    const LaneTable& lanes = m_frame.Objects().lanes;
    auto* dlg = new CDlgCard(m_frame.Objects(), m_frame.Range(), m_frame.Window());
    const int lane = lanes.NextActiveLane(0);
    dlg->m_lane = lane;
    dlg->m_lastLane = lanes.NextActiveLane(-1);
    if (LaneTable::IsLane(lane)) {
        const LaneBlock& b = lanes[lane];
        dlg->m_seriesIndex = (b.active.seriesState & 0x7F) - 1;
        dlg->m_relay = b.active.relay > 0 ? b.active.relay : 1;
    } else {
        dlg->m_relay = 1;
    }
    m_card = dlg;
    if (dlg->Create())
        dlg->ShowWindow(true);
}

void FrameDialogs::OpenLineMonitor()
{
    CloseLineMonitor();
    m_lineSpy = new CDlgLineSpy(m_frame.Window(), m_frame.Objects());
    if (m_lineSpy->Create())
        m_lineSpy->ShowWindow(true);
}

void FrameDialogs::CloseLightDialog() { Dispose(m_light, m_frame.Window() != nullptr); }

void FrameDialogs::CloseStatusDialog() { Dispose(m_status, m_frame.Window() != nullptr); }

void FrameDialogs::CloseCardDialog() { Dispose(m_card, m_frame.Window() != nullptr); }

void FrameDialogs::CloseLineMonitor() { Dispose(m_lineSpy, m_frame.Window() != nullptr); }
