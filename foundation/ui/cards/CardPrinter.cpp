#include "foundation/ui/cards/CardPrinter.h"

#include "foundation/text/FieldText.h"
#include "platform/system/Clock.h"
#include "platform/ui/draw/BitmapDC.h"
#include "platform/ui/draw/PrintJob.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace platform;

namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kGrey = Rgb(0xBF, 0xBF, 0xBF);
constexpr Colour kBlack = Rgb(0, 0, 0);
// The fixed page of the card pictures, in pixels of the off-screen surface.
constexpr int kPictureWidth = 800;
constexpr int kPictureHeight = 1130;


}  // namespace

CCardPrinter::CCardPrinter() { SetDefaults(); }

CCardPrinter::~CCardPrinter() { FreeCards(); }

void CCardPrinter::SetDefaults()
{
    CardPrintSettings::SetDefaults();
    m_ox = m_oy = 0;
}

PrintCard* CCardPrinter::AddCard()
{
    auto* card = new PrintCard();
    ClearCard(card);
    card->next = nullptr;
    if (m_last != nullptr)
        m_last->next = card;
    else
        m_first = card;
    m_last = card;
    return card;
}

void CCardPrinter::ClearCard(PrintCard* card)
{
    if (card != nullptr)
        card->Clear();
}

void CCardPrinter::FreeCards()
{
    while (m_first != nullptr) {
        PrintCard* next = m_first->next;
        delete m_first;
        m_first = next;
    }
    m_last = m_current = nullptr;
}

int CCardPrinter::CardCount() const
{
    int n = 0;
    for (PrintCard* card = m_first; card != nullptr; card = card->next)
        ++n;
    return n;
}

int CCardPrinter::Print()
{
    if (m_first == nullptr)
        return kEmpty;
    PrintJob job;
    if (showDialog) {
        if (!job.ChoosePrinter())
            return job.Cancelled() ? kCancelled : kNoPrinter;
    } else if (!job.UseDefaultPrinter()) {
        return kNoPrinter;
    }
    return Print(job);
}

int CCardPrinter::Print(PrintJob& job)
{
    if (m_first == nullptr)
        return kEmpty;
    if (!job.HasPrinter())
        return kNoPrinter;
    return PrintTo(*job.Target());
}

int CCardPrinter::PrintTo(platform::DrawTarget& target)
{
    if (m_first == nullptr)
        return kEmpty;
    CBitmapDC dc;
    if (!dc.Attach(&target))
        return kNoPrinter;
    m_dc = &dc;
    int result = kPrinted;
    if (dc.StartDoc(documentName) <= 0) {
        result = kFailed;
    } else {
        m_types.SetLanguage(language.c_str());
        bool listStarted = false;
        int y = 0;
        for (m_current = m_first; m_current != nullptr; m_current = m_current->next)
            PrintCardPages(listStarted, y);
        if (listStarted)
            EndPage();
        if (dc.EndDoc() <= 0)
            result = kFailed;
    }
    dc.Detach();
    m_dc = nullptr;
    m_current = nullptr;
    // A printout that did not come out keeps its cards for another try.
    if (result == kPrinted)
        FreeCards();
    return result;
}

void CCardPrinter::PrintCardPages(bool& listStarted, int& y)
{
    switch (layout) {
    case kSheets: {
        int sheets = CountSheets();
        std::vector<int> series = CardLayout::SeriesInUse(*m_current);
        size_t next = 0;
        for (int i = 0; i < sheets; ++i) {
            BeginPage(false);
            DrawCardHeader(m_sheetCounts[i]);
            for (int k = 1; k <= m_sheetCounts[i] && next < series.size(); ++k)
                DrawSeries(series[next++], k);
            EndPage();
        }
        break;
    }
    case kHeadOnly:
        BeginPage(false);
        DrawCardHeader(1);
        EndPage();
        break;
    case kListLines: {
        if (!listStarted) {
            BeginPage(false);
            DrawListHeader();
            y = 13 * u;
            listStarted = true;
        } else {
            // A new page when the list has passed 250 mm, or when the card
            // would run into the foot strip.
            int rows = CardLayout::ListLines(*this, *m_current, m_types, u).rows;
            int bottom = y + rows * 4 * u;
            if (y > 250 * u || (bottom > m_page.h - 5 * u && y > 13 * u)) {
                m_dc->EndPage();
                m_dc->StartPage();
                DrawListHeader();
                y = 13 * u;
            }
        }
        y = DrawListCard(y);
        break;
    }
    default:
        break;
    }
}

int CCardPrinter::CountSheets()
{
    m_sheetCounts.clear();
    if (m_current == nullptr)
        return 0;
    CardLayout::Sheets sheets = CardLayout::CountSheets(*m_current, seriesPerSheet);
    m_sheetCounts.assign(static_cast<size_t>(sheets.count), sheets.perSheet);
    return sheets.count;
}

// ---- pages ----------------------------------------------------------------

void CCardPrinter::BeginPage(bool fixed)
{
    m_dc->StartPage();
    m_dc->SetMapMode(MM_ISOTROPIC);
    m_dc->SetViewportOrg(0, 0);
    DeviceCaps caps = m_dc->GetDeviceCaps();
    Size device = fixed ? Size{kPictureWidth, kPictureHeight} : Size{caps.horzRes, caps.vertRes};
    m_dc->DPtoLP(device);
    // One millimetre in logical units, measured over a metre so that the
    // device's whole pixels do not round it.
    Size metre{100000, 100000};
    m_dc->HimetricToLp(metre);
    u = std::max(1, (metre.cx + 500) / 1000);
    m_page = CardLayout::PageOf(device.cx, device.cy, u, margin);
    Size offset{m_page.offsetX, m_page.offsetY};
    m_dc->LPtoDP(offset);
    m_dc->SetViewportOrg(offset.cx, offset.cy);

    m_font8 = m_dc->PointFont(80, "Arial");
    m_font12 = m_dc->PointFont(120, "Arial");
    m_font24 = m_dc->PointFont(240, "Arial");
    m_tableFont = m_dc->PointFont(180, "Arial");
    m_white = DrawBrush::SolidOf(kWhite);
    m_faceBlack = DrawBrush::SolidOf(greyBlack ? kGrey : kWhite);
    m_hollow = DrawBrush::Hollow();
    m_grey = DrawBrush::SolidOf(kGrey);
    m_pen1 = {PenStyle::Solid, 1, kBlack};
    m_pen2 = {PenStyle::Solid, 2, kBlack};
    m_pen3 = {PenStyle::Solid, 3, kBlack};
    m_pen4 = {PenStyle::Solid, 4, kBlack};
    m_oldFont = m_dc->SelectFont(m_font12);
    m_oldBrush = m_dc->SelectBrush(m_white);
    m_oldPen = m_dc->SelectPen(m_pen2);
    m_dc->SetTextAlign(TA_BOTTOM);
    m_dc->SetTextColor(kBlack);
    m_dc->SetBkMode(TRANSPARENT);
}

void CCardPrinter::EndPage()
{
    while (m_clipDepth > 0)
        Unclip();
    m_dc->SelectFont(m_oldFont);
    m_dc->SelectBrush(m_oldBrush);
    m_dc->SelectPen(m_oldPen);
    m_dc->EndPage();
}

// ---- drawing helpers ------------------------------------------------------

void CCardPrinter::Clip(const Rect& r)
{
    m_dc->SaveDC();
    ++m_clipDepth;
    m_dc->IntersectClipRect(Logical(r));
}

void CCardPrinter::Unclip()
{
    if (m_clipDepth <= 0)
        return;
    m_dc->RestoreDC(-1);
    --m_clipDepth;
}

void CCardPrinter::Text(int x, int y, std::string_view text, unsigned align)
{
    if (text.empty())
        return;
    m_dc->SetTextAlign(align);
    m_dc->TextOut(x, Y(y), text);
}

int CCardPrinter::XHeight() { return m_dc->GetTextExtent("X").cy; }

void CCardPrinter::DrawFrame(int x1, int y1, int x2, int y2)
{
    m_dc->MoveTo(x1, Y(y1));
    m_dc->LineTo(x1, Y(y2));
    m_dc->LineTo(x2, Y(y2));
    m_dc->LineTo(x2, Y(y1));
    m_dc->LineTo(x1, Y(y1));
}

void CCardPrinter::DrawBox(const CardLayout::TextBox& box)
{
    DrawFrame(box.rect);
    if (box.text.empty() && box.caption.empty())
        return;
    Clip(box.rect);
    if (!box.text.empty()) {
        m_dc->SelectFont(box.font == 1 ? m_font8 : box.font == 3 ? m_font24 : m_font12);
        Text(box.rect.left + u / 2, box.rect.bottom, box.text, TA_LEFT | TA_BOTTOM);
    }
    if (!box.caption.empty()) {
        m_dc->SelectFont(m_font8);
        Text(box.rect.left + u / 2, box.rect.top, box.caption, TA_LEFT | TA_TOP);
    }
    Unclip();
}

// ---- list lines -------------------------------------------------------------

void CCardPrinter::DrawListHeader()
{
    CardLayout::ListHead head = CardLayout::ListHeader(*this, m_page);
    m_dc->SelectFont(m_font8);
    DrawFrame(head.strip.left, head.strip.bottom, head.strip.right, head.strip.top);
    Text(head.titleX, head.textBaseline, CardLayout::Title(*this, *m_current, m_types), TA_CENTER | TA_BOTTOM);
    Text(head.addressX, head.textBaseline, CardLayout::kWebAddress, TA_LEFT | TA_BOTTOM);
    Text(head.timeX, head.textBaseline, CardLayout::PrintTime(platform::Now()), TA_RIGHT | TA_BOTTOM);
    for (const CardLayout::TextBox& box : head.boxes)
        DrawBox(box);
}

int CCardPrinter::DrawListCard(int y)
{
    CardLayout::ListCard list = CardLayout::ListLines(*this, *m_current, m_types, u);
    m_dc->SelectFont(m_font8);
    int half = XHeight() / 2;
    const int L = list.lineHeight;
    for (const CardLayout::ListCell& cell : list.cells) {
        int top = y + (cell.row - 1) * L;
        Rect box{cell.left, top, cell.right, top + L};
        int baseline = top + L / 2 + half;
        int x = CardLayout::CellTextX(cell, u);
        Clip(box);
        switch (cell.align) {
        case CardLayout::ListCell::kLeft:
            Text(x, baseline, cell.text, TA_LEFT | TA_BOTTOM);
            break;
        case CardLayout::ListCell::kRight:
            Text(x, baseline, cell.text, TA_RIGHT | TA_BOTTOM);
            break;
        case CardLayout::ListCell::kSplit:
            Text(x, baseline, cell.text, TA_RIGHT | TA_BOTTOM);
            Text(x, baseline, cell.fraction, TA_LEFT | TA_BOTTOM);
            break;
        }
        Unclip();
    }
    y += list.rows * L;
    m_dc->MoveTo(0, Y(y));
    m_dc->LineTo(m_page.w, Y(y));
    return y;
}

// ---- card sheets --------------------------------------------------------------

void CCardPrinter::DrawCardHeader(int boxes)
{
    CardLayout::Head head = CardLayout::CardHead(*this, *m_current, m_page);
    DrawFrame(head.frame);
    m_dc->SelectFont(m_font8);
    Text(m_page.w / 2, head.titleBaseline, CardLayout::Title(*this, *m_current, m_types), TA_CENTER | TA_BOTTOM);
    Text(0, head.titleBaseline, CardLayout::kWebAddress, TA_LEFT | TA_BOTTOM);
    Text(m_page.w, head.titleBaseline, CardLayout::PrintTime(platform::Now()), TA_RIGHT | TA_BOTTOM);
    for (const CardLayout::TextBox& box : head.boxes)
        DrawBox(box);
    if (!head.commentLines.empty()) {
        m_dc->SelectFont(m_font8);
        for (size_t i = 0; i < head.commentLines.size(); ++i)
            Text(head.commentX, head.commentTop + static_cast<int>(i) * 4 * u, head.commentLines[i], TA_LEFT | TA_TOP);
    }
    m_gridArea = head.gridArea;
    m_grid = CardLayout::GridOf(boxes);
    const Rect& a = m_gridArea;
    for (int c = 1; c < m_grid.columns; ++c) {
        int x = a.left + c * a.Width() / m_grid.columns;
        m_dc->MoveTo(x, Y(a.top));
        m_dc->LineTo(x, Y(a.bottom));
    }
    for (int r = 1; r < m_grid.rows; ++r) {
        int y = a.top + r * a.Height() / m_grid.rows;
        m_dc->MoveTo(a.left, Y(y));
        m_dc->LineTo(a.right, Y(y));
    }
    m_dc->SetTextAlign(TA_BOTTOM);
}

void CCardPrinter::DrawSeries(int series, int k)
{
    m_box = CardLayout::SplitBox(CardLayout::BoxRect(m_gridArea, m_grid, k), u);
    int level = CardPicture::ZoomLevel(*m_current, series, zoomLevels, m_types);
    DrawTarget(level, series);
    DrawShots(series);
    DrawSeriesTable(series);
}

void CCardPrinter::DrawSeriesTable(int series)
{
    const PrintCard& card = *m_current;
    int counted = 0;
    for (const PrintShot& shot : card.shots)
        if (card.Counts(shot, series))
            ++counted;
    CardLayout::SeriesTable table = CardLayout::TableOf(m_box, counted, u);
    m_dc->SelectPen(m_pen1);
    for (const Rect& frame : table.thinFrames)
        DrawFrame(frame);
    m_dc->SelectPen(m_pen2);

    std::string sample(CardLayout::TableSample(card.showTimes != 0));
    int maxWidth = table.tall ? table.columnWidth : table.area.Width();
    int points = CardLayout::FitPoints(
        [&](int p) {
            m_dc->SelectFont(m_dc->PointFont(p * 10, "Arial"));
            Size size = m_dc->GetTextExtent(sample);
            return platform::Point{size.cx, size.cy};
        },
        maxWidth, table.rowHeight);
    m_tableFont = m_dc->PointFont(std::max(points, 1) * 10, "Arial");
    m_dc->SelectFont(m_tableFont);

    Text(m_box.box.left, m_box.box.top, FieldText(card.seriesName[series], PrintCard::kTextSize), TA_LEFT | TA_TOP);
    if (card.seriesTarget[series] >= 0) {
        m_dc->SelectFont(m_font8);
        Text(m_box.box.left, m_box.box.bottom, m_types.GetName(card.seriesTarget[series]), TA_LEFT | TA_BOTTOM);
        m_dc->SelectFont(m_tableFont);
    }

    int top = m_types.GetMaxValue(card.SeriesTargetType(series)) / 100;
    int i = 0;
    for (const PrintShot& shot : card.shots) {
        if (i >= 10)
            break;
        if (!card.Counts(shot, series))
            continue;
        DrawShotRow(table.ShotCell(i++), shot, card.valueSystem[series], top);
    }
    int decimals = card.valueSystem[1] == 6 ? 2 : 1;
    DrawSumBox(table.sum, captions[kSeriesSum], card.seriesSum[series], decimals);
    DrawSumBox(table.total, captions[kTotal], card.runningTotal[series], decimals);
}

void CCardPrinter::DrawShotRow(const Rect& cell, const PrintShot& shot, int valueSystem, int top)
{
    const PrintCard& card = *m_current;
    CardLayout::ShotRowPlaces places = CardLayout::ShotRow(cell, XHeight());
    std::string label = CardLayout::ShotLabel(card.showTimes != 0, shot.time, shot.number, decimalSign);
    CardLayout::ValueParts value = CardLayout::ValueText(shot.value, valueSystem, top, decimalSign);
    Clip(cell);
    Text(places.labelRight, places.baseline, label, TA_RIGHT | TA_BOTTOM);
    Text(places.valueX, places.baseline, value.whole, TA_RIGHT | TA_BOTTOM);
    Text(places.valueX, places.baseline, value.fraction, TA_LEFT | TA_BOTTOM);
    Unclip();
    m_dc->SelectPen(m_pen2);
    for (const CardLayout::Segment& s : CardLayout::Arrow(cell, shot.x, shot.y, m_scale, u)) {
        m_dc->MoveTo(s.from.x, Y(s.from.y));
        m_dc->LineTo(s.to.x, Y(s.to.y));
    }
}

void CCardPrinter::DrawSumBox(const Rect& r, const std::string& caption, int value, int decimals)
{
    m_dc->SelectPen(m_pen1);
    DrawFrame(r);
    m_dc->SelectPen(m_pen2);
    m_dc->SelectFont(m_tableFont);
    int baseline = (r.top + r.bottom) / 2 + XHeight() / 2;
    Clip(r);
    Text(r.left + u / 2, baseline, caption, TA_LEFT | TA_BOTTOM);
    Text(r.right - u / 2, baseline, CardLayout::SumText(value, decimals, decimalSign), TA_RIGHT | TA_BOTTOM);
    Unclip();
}

// ---- card pictures for the web ---------------------------------------------------

std::string CCardPrinter::PictureName(const PrintCard& card, int sheet) const
{
    std::string event = EventName();
    CTextUtil::SafeFileName(event);
    char name[64];
    if (sheet <= 0)
        std::snprintf(name, sizeof name, "_%d_%d.png", card.relay, card.lane);
    else
        std::snprintf(name, sizeof name, "_%d_%d_p%d.png", card.relay, card.lane, sheet);
    return outputFolder + event + name;
}

int CCardPrinter::SavePng()
{
    cardCounter = -1;
    picturesSaved = picturesUnchanged = 0;
    if (m_first == nullptr)
        return kEmpty;
    CBitmapDC bitmap;
    // A web pass makes thousands of pictures: packing them is the most of
    // their cost.
    bitmap.SetPngPacking(CBitmapDC::PngPacking::Quick);
    bool made = bitmap.Create(kPictureWidth, kPictureHeight);
    if (made)
        bitmap.Clear(kWhite);
    m_dc = &bitmap;
    cardCounter = 0;
    m_types.SetLanguage(language.substr(0, 30).c_str());
    for (m_current = m_first; m_current != nullptr; m_current = m_current->next) {
        ++cardCounter;
        int sheets = CountSheets();
        std::vector<int> series = CardLayout::SeriesInUse(*m_current);
        size_t next = 0;
        for (int i = 0; i < sheets; ++i) {
            BeginPage(true);
            DrawCardHeader(m_sheetCounts[i]);
            for (int k = 1; k <= m_sheetCounts[i] && next < series.size(); ++k)
                DrawSeries(series[next++], k);
            EndPage();
            // A picture that cannot be written is passed over; the next goes on.
            if (made) {
                switch (bitmap.SaveAsPngIfChanged(PictureName(*m_current, sheets < 2 ? 0 : i + 1), true, false, 0)) {
                case CBitmapDC::Saved::Written:
                    ++picturesSaved;
                    break;
                case CBitmapDC::Saved::Unchanged:
                    ++picturesUnchanged;
                    break;
                case CBitmapDC::Saved::Failed:
                    break;
                }
            }
            bitmap.SetMapMode(MM_TEXT);
            bitmap.SetViewportOrg(0, 0);
            if (made)
                bitmap.Clear(kWhite);
        }
    }
    m_current = nullptr;
    m_dc = nullptr;
    return kPrinted;
}
