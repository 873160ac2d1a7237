// The model half of the report engine and the steps of its printout; the
// layout and the drawing of a page are in ReportLayout.cpp.
#include "results/print/Report.h"

namespace results {

CReport::CReport() = default;

CReport::~CReport() = default;

void CReport::AddRow(const std::vector<ReportCell>& cells, int d, uint16_t style)
{
    Def(d).bodyRows.push_back(ReportRow{cells, style});
}

void CReport::AddHeaderRow(const std::vector<ReportCell>& cells, int d)
{
    Def(d).headerRows.push_back(ReportRow{cells, 0});
}

void CReport::AddFooterRow(const std::vector<ReportCell>& cells, int d)
{
    Def(d).footerRows.push_back(ReportRow{cells, 0});
}

void CReport::ListComplete(int definitions)
{
    m_defCount = definitions;
    m_currentDef = definitions > 0 ? 1 : 0;
    m_pageCounter = 1;
    m_continuePrinting = definitions > 0 ? 1 : 0;
}

void CReport::Reset()
{
    aListDef.clear();
    m_pages.clear();
    m_laidOut = 0;
}

void CReport::FreeFonts(int d)
{
    if (d < 1 || d > static_cast<int>(aListDef.size()))
        return;
    ListDef& def = Def(d);
    for (auto* columns : {&def.bodyColumns, &def.headerColumns, &def.footerColumns})
        for (ReportColumn& column : *columns)
            column.font.reset();
    if (m_laidOut == d)
        m_laidOut = 0;
}

bool CReport::OnPreparePrinting(PrintInfo& info, bool noDialog, bool spare)
{
    info.minPage = 1;
    if (m_currentDef >= 1 && m_currentDef <= static_cast<int>(aListDef.size())) {
        m_bodyColumnCount = static_cast<int>(Def(m_currentDef).bodyColumns.size());
        m_bodyRowCount = static_cast<int>(Def(m_currentDef).bodyRows.size());
    }
    if (m_previewFlag) {
        PrintPreview();
        return false;
    }
    return CPrintJob::OnPreparePrinting(info, noDialog, spare);
}

void CReport::OnBeginPrinting(platform::DrawSurface& dc, PrintInfo& info)
{
    m_defCount = static_cast<int>(aListDef.size());
}

void CReport::OnEndPrinting(platform::DrawSurface& dc, PrintInfo& info)
{
    info.maxPage = kLastPage;
    Reset();
}

bool CReport::NextDefinition(PrintInfo& info)
{
    if (m_currentDef >= static_cast<int>(aListDef.size()))
        return false;
    if (static_cast<int>(m_pages.size()) != info.currentPage)
        return true;
    m_pageCounter = 1;
    ++m_currentDef;
    return true;
}

// Whether page p needs its definition laid out (again) before it is drawn:
// the first page of all, the first page of a further definition, and in
// the preview a page of another definition than the one drawn last, or a
// page before it.
bool CReport::NeedsLayout(int p) const
{
    int pages = static_cast<int>(m_pages.size());
    bool lastElsewhere =
        m_lastPrinted >= 1 && m_lastPrinted <= pages && m_pages[m_lastPrinted - 1].definition != m_currentDef;
    if (p > pages)
        return (p == 1 && pages == 0) || lastElsewhere;
    return lastElsewhere || p < m_lastPrinted;
}

void CReport::OnPrint(platform::DrawSurface& dc, PrintInfo& info)
{
    int p = info.currentPage;
    int pages = static_cast<int>(m_pages.size());
    bool drawnBefore = p >= 1 && p <= pages;
    if (!drawnBefore && (p != pages + 1 || m_currentDef < 1 || m_currentDef > static_cast<int>(aListDef.size()))) {
        // Nothing more to print: no list at all, or a page past the end.
        info.maxPage = pages;
        if (!PreviewOpen())
            m_continuePrinting = 0;
        return;
    }
    int d = drawnBefore ? m_pages[p - 1].definition : m_currentDef;
    if (NeedsLayout(p) || m_laidOut != d) {
        if (drawnBefore)
            LayoutDefinition(dc, info, d);
        else
            BeginDefinition(dc, info, d);
    }
    ListDef& def = Def(d);

    platform::Rect rect = info.drawRect;
    ApplyMargins(dc, rect);
    int oldMode = dc.SetBkMode(platform::TRANSPARENT);

    if (!drawnBefore) {
        ReportPage page;
        page.definition = d;
        bool firstPage = true;
        for (const ReportPage& earlier : m_pages) {
            if (earlier.definition == d) {
                page.rowsBefore += earlier.rows;
                firstPage = false;
            }
        }
        page.pageInDefinition = m_pageCounter++;
        page.rows = RowsOnPage(def, page.rowsBefore, firstPage, BodyRoom(dc, info, d));
        m_pages.push_back(page);
    }
    const ReportPage page = m_pages[p - 1];
    m_rowsPerPage = page.rows;

    DrawHeader(dc, rect, info);
    rect.bottom -= static_cast<int>(def.footerLines.size()) * def.footerLineHeight;
    DrawBody(dc, rect, page, info.drawRect);

    platform::Rect foot = info.drawRect;
    ApplyMargins(dc, foot);
    foot.top = foot.bottom - static_cast<int>(def.footerLines.size()) * def.footerLineHeight;
    DrawFooter(dc, foot, info);
    dc.SetBkMode(oldMode);

    if (!drawnBefore) {
        if (page.rowsBefore + page.rows >= static_cast<int>(def.bodyRows.size()) && !NextDefinition(info)) {
            // The last page of the list: the printout ends here, and the
            // preview knows its page count.
            info.maxPage = static_cast<int>(m_pages.size());
            if (!PreviewOpen())
                m_continuePrinting = 0;
        }
        if (page.definition > 1)
            FreeFonts(p < m_lastPrinted ? page.definition + 1 : page.definition - 1);
    } else if (m_lastPrinted >= 1 && m_lastPrinted <= static_cast<int>(m_pages.size()) &&
               m_pages[m_lastPrinted - 1].definition != d) {
        FreeFonts(m_pages[m_lastPrinted - 1].definition);
    }
    m_lastPrinted = p;
}

}  // namespace results
