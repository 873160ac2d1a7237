#include "foundation/ui/cards/ShotListPrinter.h"

#include "foundation/cards/CardLayout.h"
#include "foundation/text/FieldText.h"
#include "platform/system/Clock.h"
#include "platform/ui/draw/PrintJob.h"

#include <cstdio>

using namespace platform;

namespace {

// The log's document name, whatever the caller set.
constexpr const char* kDocumentName = "Log";
constexpr int kFoot = 50;  // the foot strip, 5 mm
constexpr int kHeadPoints = 120;            // tenths of a point
constexpr int kSmallestHeadingPoints = 50;


}  // namespace

int CShotListPrinter::Print(const CardRecord& card, const NameRecord*, const ShotListRecord& shots)
{
    PrintJob job;
    if (!job.ChoosePrinter())
        return job.Cancelled() ? kCancelled : kNoPrinter;
    return Print(job, card, shots);
}

int CShotListPrinter::Print(PrintJob& job, const CardRecord& card, const ShotListRecord& shots)
{
    if (!job.HasPrinter())
        return kNoPrinter;
    return PrintTo(*job.Target(), card, shots);
}

void CShotListPrinter::Text(int x, int y, std::string_view text, unsigned align)
{
    if (text.empty())
        return;
    m_dc->SetTextAlign(align);
    m_dc->TextOut(x, -y, text);
}

void CShotListPrinter::Frame(int x1, int y1, int x2, int y2)
{
    m_dc->MoveTo(x1, -y1);
    m_dc->LineTo(x1, -y2);
    m_dc->LineTo(x2, -y2);
    m_dc->LineTo(x2, -y1);
    m_dc->LineTo(x1, -y1);
}

void CShotListPrinter::DrawHead(const CardRecord& card)
{
    const ShotListLayout::Page& p = m_page;
    const auto& x = p.x;
    m_dc->SelectFont(m_headFont);
    Frame(p.m, p.t, p.W, p.t + 101);
    Frame(p.m, p.H - kFoot, p.W, p.H);
    m_dc->MoveTo(p.m, -(p.t + 251));
    m_dc->LineTo(p.W, -(p.t + 251));

    char first[128];
    std::snprintf(first, sizeof first, "%s %4d %s %3d", relayCaption.c_str(), card.relay, laneCaption.c_str(),
                  card.lane);
    Text(p.F, p.t + 50, first, TA_LEFT | TA_BOTTOM);
    Text(p.F + p.W / 5, p.t + 50, headText3, TA_LEFT | TA_BOTTOM);
    Text(p.W - 5, p.t + 50, headText1, TA_RIGHT | TA_BOTTOM);
    Text(p.F, p.t + 100, headText4 + " - " + headText5, TA_LEFT | TA_BOTTOM);
    Text(p.W - 5, p.t + 100, headText2, TA_RIGHT | TA_BOTTOM);

    Text(p.F, p.H - 1, footerText, TA_LEFT | TA_BOTTOM);
    Text(p.W / 2, p.H - 1, CardLayout::kWebAddress, TA_CENTER | TA_BOTTOM);
    Text(p.W - 5, p.H - 1, CardLayout::PrintTime(platform::Now()), TA_RIGHT | TA_BOTTOM);

    const int captions = p.t + 175;
    for (const ShotListLayout::Heading& h : ShotListLayout::Headings(*this, p)) {
        // The head's size, or the largest below it at which the heading fits
        // its column: a long heading never runs into the next one.
        for (int tenths = kHeadPoints; tenths > kSmallestHeadingPoints; tenths -= 5) {
            m_dc->SelectFont(m_dc->PointFont(tenths, "Arial"));
            if (m_dc->GetTextExtent(h.text).cx <= h.room)
                break;
        }
        Text(h.x, captions, h.text, (h.right ? TA_RIGHT : TA_LEFT) | TA_BOTTOM);
    }

    m_dc->SelectFont(m_rowFont);
    for (int column : {3, 4, 5, 12})
        Text(x[column], p.t + 225, "mm", TA_RIGHT | TA_BOTTOM);
}

int CShotListPrinter::PrintTo(platform::DrawTarget& target, const CardRecord& card, const ShotListRecord& shots)
{
    DrawSurface dc;
    if (!dc.Attach(&target))
        return kNoPrinter;
    m_dc = &dc;
    documentName = kDocumentName;
    if (dc.StartDoc(documentName) <= 0) {
        dc.Detach();
        m_dc = nullptr;
        return kFailed;
    }
    dc.SetMapMode(MM_LOMETRIC);
    dc.SetTextAlign(TA_BOTTOM);
    dc.SetBkMode(TRANSPARENT);
    DeviceCaps caps = dc.GetDeviceCaps();
    Size area{caps.horzRes, caps.vertRes};
    dc.DPtoLP(area);
    Size offset{caps.physicalOffsetX, caps.physicalOffsetY};
    dc.DPtoLP(offset);
    m_page = ShotListLayout::PageOf(area.cx, area.cy, offset.cx, offset.cy);
    m_headFont = dc.PointFont(kHeadPoints, "Arial");
    m_rowFont = dc.PointFont(m_page.landscape ? 80 : 60, "Arial");
    DrawFont previous = dc.SelectFont(m_rowFont);
    dc.SelectPen({PenStyle::Solid, 0, Rgb(0, 0, 0)});

    uint8_t order[CDataComp::kSlots];
    CDataComp::BuildShotOrder(shots, order, mode == 129);
    ShotListLayout::Plan plan = ShotListLayout::PlanOf(shots, order, m_page.rowsPerPage);

    const ShotListLayout::Page& p = m_page;
    const auto& x = p.x;
    dc.StartPage();
    int page = 1;
    for (const ShotListLayout::Line& line : plan.lines) {
        if (line.page != page) {
            dc.EndPage();
            dc.StartPage();
            page = line.page;
        }
        switch (line.kind) {
        case ShotListLayout::Line::kHead:
            DrawHead(card);
            break;
        case ShotListLayout::Line::kHeading:
            dc.SelectFont(m_rowFont);
            Text(p.F, p.t + line.y, SeriesName(line.series), TA_LEFT | TA_BOTTOM);
            break;
        case ShotListLayout::Line::kRow: {
            dc.SelectFont(m_rowFont);
            ShotListLayout::RowTexts row =
                ShotListLayout::Row(*this, m_values, card, shots, line.slot, line.series, line.r, line.first);
            const int y = p.t + line.y;
            Text(p.m, y, row.mark, TA_LEFT | TA_BOTTOM);
            Text(x[0], y, row.number, TA_LEFT | TA_BOTTOM);
            Text((x[1] + x[2]) / 2, y, row.value, TA_RIGHT | TA_BOTTOM);
            Text(x[3], y, row.x, TA_RIGHT | TA_BOTTOM);
            Text(x[4], y, row.y, TA_RIGHT | TA_BOTTOM);
            Text(x[5], y, row.radius, TA_RIGHT | TA_BOTTOM);
            Text(x[6], y, row.date, TA_RIGHT | TA_BOTTOM);
            Text(x[7], y, row.time, TA_RIGHT | TA_BOTTOM);
            Text(x[8], y, row.turn, TA_RIGHT | TA_BOTTOM);
            Text(x[9], y, row.temperature, TA_RIGHT | TA_BOTTOM);
            Text(x[10], y, row.sensors, TA_RIGHT | TA_BOTTOM);
            Text(x[11], y, row.hardware, TA_RIGHT | TA_BOTTOM);
            Text(x[12], y, row.band, TA_RIGHT | TA_BOTTOM);
            Text(x[12] + 20, y, row.remarks, TA_LEFT | TA_BOTTOM);
            break;
        }
        }
    }

    // The result state and the comment below the last row. A comment that
    // would run into the foot goes on on a new page rather than off the paper.
    dc.SelectFont(m_rowFont);
    int y = plan.lastBottom + 70;
    if (card.resultState >= 1 && card.resultState <= 4)
        Text(p.F, p.t + y, resultTexts[card.resultState - 1], TA_LEFT | TA_BOTTOM);
    for (const std::string& line : CardLayout::CommentLines(FieldText(shots.comment, sizeof shots.comment))) {
        if (p.t + y > p.H - kFoot - 10) {
            dc.EndPage();
            dc.StartPage();
            DrawHead(card);
            dc.SelectFont(m_rowFont);
            y = 275;
        }
        Text(x[2], p.t + y, line, TA_LEFT | TA_BOTTOM);
        y += 35;
    }
    dc.EndPage();
    dc.SelectFont(previous);
    int done = dc.EndDoc();
    dc.Detach();
    m_dc = nullptr;
    return done > 0 ? kPrinted : kFailed;
}
