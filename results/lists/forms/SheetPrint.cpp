#include "results/lists/forms/SheetPrint.h"

#include <algorithm>

namespace results {
namespace {

constexpr int kFontTenthsOfPoint = 120;

int HundredthsOfMm(int pixels, int dotsPerInch)
{
    // As the system converts device units to hundredths of a millimetre:
    // rounded to the nearest.
    return dotsPerInch > 0 ? (pixels * 2540 + dotsPerInch / 2) / dotsPerInch : 0;
}

}  // namespace

SheetOffsets SheetOffsetsOf(const platform::DeviceCaps& caps)
{
    return {HundredthsOfMm(caps.physicalOffsetX, caps.logPixelsX) / 10,
            HundredthsOfMm(caps.physicalOffsetY, caps.logPixelsY) / 10};
}

CSheetPrintJob::CSheetPrintJob(std::string documentName, int pages, DrawPage drawPage)
    : m_pages(std::max(0, pages)), m_drawPage(std::move(drawPage))
{
    m_docName = std::move(documentName);
}

bool CSheetPrintJob::Run(platform::DrawTarget* target)
{
    m_continuePrinting = m_pages > 0 ? 1 : 0;
    m_printed = false;
    if (target != nullptr)
        PrintTo(*target);
    else
        Print();
    return m_printed;
}

void CSheetPrintJob::OnBeginPrinting(platform::DrawSurface& dc, PrintInfo&)
{
    m_printed = true;
    m_offsets = SheetOffsetsOf(dc.GetDeviceCaps());
}

void CSheetPrintJob::OnPrint(platform::DrawSurface& dc, PrintInfo& info)
{
    dc.SetMapMode(platform::MM_LOMETRIC);
    dc.SetViewportOrg(0, 0);
    dc.SelectFont(dc.PointFont(kFontTenthsOfPoint, "Arial"));
    dc.SetTextAlign(platform::TA_LEFT | platform::TA_BOTTOM);
    // On a pre-printed form a text's white box would hide the form's lines.
    dc.SetBkMode(platform::TRANSPARENT);
    if (m_drawPage)
        m_drawPage(*this, dc, info.currentPage);
    if (info.currentPage >= m_pages)
        m_continuePrinting = 0;
}

void CSheetPrintJob::Write(platform::DrawSurface& dc, const SheetText& text) const
{
    if (text.text.empty())
        return;
    dc.SetTextAlign((text.rightAligned ? platform::TA_RIGHT : platform::TA_LEFT) | platform::TA_BOTTOM);
    const platform::Point at = At(text.x, text.y);
    dc.TextOut(at.x, at.y, text.text);
}

void CSheetPrintJob::WriteClipped(platform::DrawSurface& dc, const SheetText& text, int clipLeft, int clipTop,
                                  int clipRight, int clipBottom) const
{
    if (text.text.empty())
        return;
    const int saved = dc.SaveDC();
    const platform::Point topLeft = At(clipLeft, clipTop);
    const platform::Point bottomRight = At(clipRight, clipBottom);
    dc.IntersectClipRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    Write(dc, text);
    dc.RestoreDC(saved);
}

}  // namespace results
