// The frame's printing of cards: the range's cards on the printer the
// officer picks, and the card a lane's monitor asks for, fetched shot by
// shot (MonitorPrint) and printed the same way; and the results sent to the
// results office.
#include "range/ui/MainFrm.h"

#include "foundation/ui/cards/CardPrinter.h"
#include "platform/ui/FrameWnd.h"
#include "range/print/CardPrintJob.h"
#include "range/print/RangeCardPrint.h"
#include "range/dialogs/SendPresets.h"
#include "range/ui/FrameModal.h"
#include "range/ui/dialogs/DlgPrint.h"
#include "range/ui/dialogs/DlgSend.h"
#include "foundation/settings/RangeSettings.h"

void CMainFrame::OnMonitorPrintMsg(const LineMessage& m) { m_monitorPrint.OnMonitorPrintMsg(m); }

void CMainFrame::OnFetchShot(const LineMessage& m) { m_monitorPrint.OnFetchShot(m); }

int CMainFrame::PrintCards(CardPrintJob& job)
{
    CCardPrinter printer;
    static_cast<CardPrintSettings&>(printer) = job.settings;
    for (const PrintCard& card : job.cards) {
        PrintCard* added = printer.AddCard();
        PrintCard* next = added->next;
        *added = card;
        added->next = next;
    }
    return printer.Print();
}

int CMainFrame::PrintCards(int firstRelay, int lastRelay, int firstLane, int lastLane, bool withDialog)
{
    RangeCardPrint::Selection selection;
    selection.firstRelay = firstRelay;
    selection.lastRelay = lastRelay;
    selection.firstLane = firstLane;
    selection.lastLane = lastLane;
    selection.withDialog = withDialog;
    CardPrintJob job;
    int cards = RangeCardPrint::Fill(m_obj, selection, job);
    int printed = cards > 0 && PrintCards(job) == CardPrintJob::kPrinted ? cards : 0;
    if (platform::FrameWnd* w = Window()) {
        // Information goes to the second pane.
        std::string line = printed > 0 ? std::to_string(printed) + " " + m_obj.Text("IDS_INFO_PRINTED")
                                       : m_obj.Text("IDS_INFO_NOPRINT");
        w->SetPaneText(kInfoPane, line);
    }
    return printed;
}

void CMainFrame::OnPrintCards()
{
    CBVConfig& range = m_obj.settings.Config();
    CDlgPrint dialog(Window(), Options());
    const int lane = NextActiveLane(0);
    const int relay = LaneTable::IsLane(lane) && m_obj.lanes[lane].active.relay > 0 ? m_obj.lanes[lane].active.relay : 1;
    dialog.m_caption = m_obj.Text("IDS_LANESEL_TITLE_PRINT");
    dialog.m_relayFrom = relay;
    dialog.m_relayTo = relay;
    dialog.m_laneFrom = LaneTable::IsLane(lane) ? lane : LaneTable::kFirstLane;
    dialog.m_laneTo = dialog.m_laneFrom;
    if (range.IsOpen()) {
        dialog.m_asList = ReadItem(range, RangeItems::kPrintAsList) != 0 ? 1 : 0;
        dialog.m_seriesPerPage = ReadItem(range, RangeItems::kPrintSeriesPerPage);
        dialog.m_margin = ReadItem(range, RangeItems::kPrintMargin);
        dialog.m_blackMark = ReadItem(range, RangeItems::kPrintBlackMark);
        dialog.m_practice = ReadItem(range, RangeItems::kPrintPracticeShots);
        dialog.m_names = ReadItem(range, RangeItems::kPrintNames);
        dialog.m_trueSize = ReadItem(range, RangeItems::kPrintTrueSize);
        dialog.m_gauge = ReadItem(range, RangeItems::kPrintGauge);
        const std::string zoom = ReadItem(range, RangeItems::kPrintZoomLevels);
        dialog.m_completeTarget = zoom.size() > 0 && zoom[0] == '1';
        for (size_t i = 0; i < 10; ++i)
            dialog.m_zoom[i] = zoom.size() > i + 1 && zoom[i + 1] == '1';
    }
    const int rc = FrameModal::Run(dialog);
    // The settings are kept whatever the officer answered.
    if (range.IsOpen()) {
        WriteItem(range, RangeItems::kPrintAsList, dialog.m_asList == 1 ? 1 : 0);
        WriteItem(range, RangeItems::kPrintSeriesPerPage, dialog.m_seriesPerPage);
        WriteItem(range, RangeItems::kPrintMargin, dialog.m_margin);
        WriteItem(range, RangeItems::kPrintBlackMark, dialog.m_blackMark);
        WriteItem(range, RangeItems::kPrintPracticeShots, dialog.m_practice);
        WriteItem(range, RangeItems::kPrintNames, dialog.m_names);
        WriteItem(range, RangeItems::kPrintTrueSize, dialog.m_trueSize);
        WriteItem(range, RangeItems::kPrintGauge, dialog.m_gauge);
        std::string zoom(1, dialog.m_completeTarget ? '1' : '0');
        for (int z : dialog.m_zoom)
            zoom += z ? '1' : '0';
        WriteItem(range, RangeItems::kPrintZoomLevels, zoom);
    }
    if (rc != platform::IDOK)
        return;
    if (dialog.m_allTargets)
        PrintCards(0, 0, LaneTable::IsLane(lane) ? lane : LaneTable::kFirstLane, LaneTable::kLastLane, true);
    else
        PrintCards(dialog.m_relayFrom, dialog.m_relayTo, dialog.m_laneFrom, dialog.m_laneTo, true);
}

void CMainFrame::OnSendToOffice()
{
    const int lane = NextActiveLane(0);
    const int relay = LaneTable::IsLane(lane) ? m_obj.lanes[lane].active.relay : 0;
    SendPresets presets = SendPresetsFor(RangeInt(RangeItems::kResultsProgram), relay);
    CDlgSend dialog(Window(), Options());
    dialog.m_relayFrom = presets.relayFrom;
    dialog.m_relayTo = presets.relayTo;
    dialog.m_activeRelay = presets.activeRelay;
    dialog.m_hideActive = presets.hideActive ? 1 : 0;
    if (FrameModal::Run(dialog) != platform::IDOK)
        return;
    // Every lane up to the last one of the range, every card of the relays.
    const int rc = dialog.m_activeRelay != 0
                       ? SendResults(0, 0, LaneTable::IsLane(lane) ? lane : LaneTable::kFirstLane, 0)
                       : SendResults(dialog.m_relayFrom, dialog.m_relayTo, LaneTable::kFirstLane, 0);
    if (rc == 0)
        ShowStatusKeys("IDS_INFO_SENT", "", nullptr);
}
