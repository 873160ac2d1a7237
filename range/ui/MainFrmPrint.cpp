// The frame's printing of cards: the range's cards on the printer the
// officer picks, and the card a lane's monitor asks for, fetched shot by
// shot (MonitorPrint) and printed the same way.
#include "range/ui/MainFrm.h"

#include "foundation/ui/cards/CardPrinter.h"
#include "platform/ui/FrameWnd.h"
#include "range/print/CardPrintJob.h"
#include "range/print/RangeCardPrint.h"

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
