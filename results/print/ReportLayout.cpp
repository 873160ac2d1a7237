// The layout half of the report engine: column widths, fonts fitted to the
// columns, line heights, rows per page, and the drawing of header, body and
// footer. Every measure is in device units of the printer (the preview's is
// the default printer's), and text is measured on it.
#include "results/print/Report.h"

#include "platform/system/Codepage.h"

#include <algorithm>
#include <string>

namespace results {
namespace {

using platform::DrawSurface;
using platform::Rect;

constexpr int kMaxFitChars = 100;

// A column's alignment is the drawing call's text format: left, centred or
// right, and with the cards' bottom and single-line flags.
unsigned TextFormat(int align)
{
    constexpr unsigned kTaken = platform::DT_CENTER | platform::DT_RIGHT | platform::DT_VCENTER |
                                platform::DT_BOTTOM | platform::DT_SINGLELINE;
    return static_cast<unsigned>(align) & kTaken;
}

// Left, centred or right, whatever else the format says.
int Horizontal(int align) { return align & (kAlignCentre | kAlignRight); }

bool LineHidden(uint16_t style, int l)
{
    return l >= 1 && l <= 16 && (style & (1u << (l - 1))) != 0;
}

// Every layout fits from the size the producer asked for.
void StartFromDeclaredSize(ReportColumn& column)
{
    if (column.declaredPointSize == 0)
        column.declaredPointSize = column.pointSize;
    else
        column.pointSize = column.declaredPointSize;
}

void Line(DrawSurface& dc, int x1, int y1, int x2, int y2)
{
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
}

}  // namespace

void CReport::ApplyMargins(const DrawSurface& dc, Rect& rect) const
{
    platform::Size leftTop{m_marginLeft * 100, m_marginTop * 100};
    platform::Size rightBottom{(m_marginRight + 5) * 100, m_marginBottom * 100};
    dc.HimetricToLp(leftTop);
    dc.HimetricToLp(rightBottom);
    rect.left = ((rect.left + leftTop.cx) / 100) * 100;
    rect.top += leftTop.cy;
    rect.right -= rightBottom.cx;
    rect.bottom -= rightBottom.cy;
}

void CReport::MakeFont(DrawSurface& dc, ReportColumn& column, int points)
{
    column.font.reset();
    if (points < 1) {
        BV_LOG(m_log, 30, "%s", platform::Ansi("Får ikke laget font i settfont for aListDef").c_str());
        points = 1;
    }
    column.font = dc.PointFont(points * 10, column.face, column.bold ? 700 : 400);
}

void CReport::settfont(int c, DrawSurface& dc, std::vector<ReportColumn>& columns)
{
    ReportColumn& column = Nth(columns, c);
    column.pointSize -= 1;
    MakeFont(dc, column, column.pointSize);
}

int CReport::FitColumn(DrawSurface& dc, int c, std::vector<ReportColumn>& columns, ColumnKind kind, ListDef& def)
{
    ReportColumn& column = Nth(columns, c);
    std::string run(static_cast<size_t>(std::clamp(column.fitChars, 0, kMaxFitChars)), 'X');
    int steps = 0;
    for (;;) {
        platform::DrawFont previous = column.font ? dc.SelectFont(*column.font) : dc.GetFont();
        int needed = dc.GetTextExtent(run).cx;
        dc.SelectFont(previous);
        // One point is as small as a font gets: a column too narrow for its
        // characters even then is drawn at one point and clipped.
        if (column.width >= needed || column.pointSize <= 1)
            break;
        settfont(c, dc, columns);
        ++steps;
    }

    platform::DrawFont previous = column.font ? dc.SelectFont(*column.font) : dc.GetFont();
    platform::Size x = dc.GetTextExtent("X");
    dc.SelectFont(previous);
    switch (kind) {
    case kHeaderColumns:
        def.headerCharWidth = std::max(def.headerCharWidth, x.cx);
        def.headerLineHeight = std::max(def.headerLineHeight, x.cy);
        break;
    case kFooterColumns:
        def.footerCharWidth = std::max(def.footerCharWidth, x.cx);
        def.footerLineHeight = std::max(def.footerLineHeight, x.cy);
        break;
    case kBodyColumns:
        if (column.line >= 1 && column.line <= static_cast<int>(def.bodyLines.size())) {
            ReportLine& line = Nth(def.bodyLines, column.line);
            line.charWidth = std::max(line.charWidth, x.cx);
            line.height = std::max(line.height, x.cy + kLineSpacing);
        }
        break;
    }
    return steps;
}

void CReport::LayoutDefinition(DrawSurface& dc, PrintInfo& info, int d)
{
    ListDef& def = Def(d);
    Rect rect = info.drawRect;
    ApplyMargins(dc, rect);
    int width = ((rect.right - rect.left) / 100) * 100;

    // The body: widths, fonts fitted to the columns, the lines' heights.
    for (ReportColumn& column : def.bodyColumns)
        column.width = column.widthPercent * width / 100;
    for (size_t l = 0; l < def.bodyLines.size(); ++l) {
        ReportLine& line = def.bodyLines[l];
        line.columnCount = static_cast<int>(std::count_if(def.bodyColumns.begin(), def.bodyColumns.end(),
                                                          [&](const ReportColumn& c) { return c.line == static_cast<int>(l) + 1; }));
        line.charWidth = 0;
        line.height = 0;
    }
    for (size_t c = 0; c < def.bodyColumns.size(); ++c) {
        ReportColumn& column = def.bodyColumns[c];
        StartFromDeclaredSize(column);
        MakeFont(dc, column, column.pointSize);
        FitColumn(dc, static_cast<int>(c) + 1, def.bodyColumns, kBodyColumns, def);
    }
    def.lineBottoms.assign(def.bodyLines.size() + 1, 0);
    def.largestBodyLineHeight = 0;
    int bottom = 0;
    for (size_t l = 0; l < def.bodyLines.size(); ++l) {
        bottom += def.bodyLines[l].height;
        def.lineBottoms[l + 1] = bottom;
        def.largestBodyLineHeight = std::max(def.largestBodyLineHeight, def.bodyLines[l].height);
    }
    def.lineBottoms[0] = bottom;
    for (ReportColumn& column : def.bodyColumns)
        MakeFont(dc, column, column.pointSize);

    // Header and footer: every column of one shrinks by as many points as
    // the most shrunk one, so that the frame keeps its proportions.
    def.headerCharWidth = def.headerLineHeight = 0;
    if (!def.headerLines.empty()) {
        LayoutFrameColumns(dc, def, def.headerColumns, def.headerLines, kHeaderColumns, width);
        def.headerLineHeight += kLineSpacing;
    }
    def.footerCharWidth = def.footerLineHeight = 0;
    if (!def.footerLines.empty()) {
        LayoutFrameColumns(dc, def, def.footerColumns, def.footerLines, kFooterColumns, width);
        def.footerLineHeight += kLineSpacing;
    }
    m_laidOut = d;
}

void CReport::LayoutFrameColumns(DrawSurface& dc, ListDef& def, std::vector<ReportColumn>& columns,
                                 std::vector<ReportLine>& lines, ColumnKind kind, int width)
{
    int highestLine = 0;
    for (ReportColumn& column : columns) {
        column.width = column.widthPercent * width / 100;
        highestLine = std::max(highestLine, column.line);
    }
    for (int l = 1; l <= std::min(highestLine, static_cast<int>(lines.size())); ++l)
        Nth(lines, l).columnCount = static_cast<int>(
            std::count_if(columns.begin(), columns.end(), [&](const ReportColumn& c) { return c.line == l; }));
    int shrink = 0;
    for (size_t c = 0; c < columns.size(); ++c) {
        StartFromDeclaredSize(columns[c]);
        MakeFont(dc, columns[c], columns[c].pointSize);
        shrink = std::max(shrink, FitColumn(dc, static_cast<int>(c) + 1, columns, kind, def));
    }
    for (ReportColumn& column : columns)
        MakeFont(dc, column, column.pointSize - shrink);
}

void CReport::BeginDefinition(DrawSurface& dc, PrintInfo& info, int d)
{
    if (info.preview)
        info.drawRect = PrintableArea(dc);
    LayoutDefinition(dc, info, d);
}

// ---- rows on a page ---------------------------------------------------------

// A definition whose ninth row hides lines prints its rows compact from
// there on; the first eight rows of its first page stay whole.
int CReport::RowPitch(const ListDef& def, int i, bool firstPage) const
{
    int full = def.lineBottoms.empty() ? 0 : def.lineBottoms[0];
    if (firstPage && i <= kFullRowsFirst)
        return full;
    const ReportRow& row = Nth(def.bodyRows, i);
    bool compact = def.bodyRows.size() > static_cast<size_t>(kFullRowsFirst) && def.bodyRows[kFullRowsFirst].style != 0;
    if (row.style == 0 || !compact)
        return full;
    // A shown line counts the height of the first line; a row never takes
    // less than down to the bottom of its lowest shown line, so that it does
    // not run into the next one.
    int lines = static_cast<int>(def.bodyLines.size());
    int firstLine = lines >= 1 ? def.lineBottoms[1] : 0;
    uint16_t ninth = def.bodyRows[kFullRowsFirst].style;
    int compactHeight = 0;
    int lowest = 0;
    for (int l = 1; l <= lines; ++l) {
        if (!LineHidden(ninth, l))
            compactHeight += firstLine;
        if (!LineHidden(row.style, l))
            lowest = def.lineBottoms[static_cast<size_t>(l)];
    }
    return std::max(compactHeight, lowest);
}

int CReport::RowsOnPage(const ListDef& def, int rowsBefore, bool firstPage, int room) const
{
    int rows = 0;
    int used = 0;
    for (int i = rowsBefore + 1; i <= static_cast<int>(def.bodyRows.size()); ++i) {
        int pitch = RowPitch(def, i, firstPage);
        // The first row stands on the page even when it is taller than the
        // room (it is clipped at the footer), so every page moves on.
        if (rows > 0 && used + pitch > room)
            break;
        used += pitch;
        ++rows;
    }
    return rows;
}

int CReport::BodyRoom(const DrawSurface& dc, const PrintInfo& info, int d) const
{
    const ListDef& def = Def(d);
    Rect rect = info.drawRect;
    ApplyMargins(dc, rect);
    return rect.bottom - rect.top - static_cast<int>(def.headerLines.size()) * def.headerLineHeight -
           static_cast<int>(def.footerLines.size()) * def.footerLineHeight;
}

// ---- drawing ----------------------------------------------------------------

void CReport::DrawCells(DrawSurface& dc, const std::vector<ReportColumn>& columns, const ReportLine& line,
                        const ReportRow* row, int left, int top, int height)
{
    int x = left;
    for (int j = line.firstColumn; j < line.firstColumn + line.columnCount; ++j) {
        if (j < 1 || j > static_cast<int>(columns.size()))
            break;
        const ReportColumn& column = Nth(columns, j);
        platform::DrawFont previous = column.font ? dc.SelectFont(*column.font) : dc.GetFont();
        Rect cell{x, top, x + column.width, top + height};
        Rect text = cell;
        if (Horizontal(column.align) == kAlignLeft)
            text.left += kCellInset;
        else if (Horizontal(column.align) == kAlignRight)
            text.right -= kCellInset;
        // A row short of cells leaves the missing ones empty.
        if (row != nullptr && j <= static_cast<int>(row->cells.size()) && !row->cells[j - 1].text.empty())
            dc.DrawText(row->cells[j - 1].text, text, TextFormat(column.align));
        if (column.frame & kFrameLeft)
            Line(dc, cell.left, cell.top, cell.left, cell.bottom);
        if (column.frame & kFrameTop)
            Line(dc, cell.left, cell.top, cell.right, cell.top);
        if (column.frame & kFrameRight)
            Line(dc, cell.right, cell.top, cell.right, cell.bottom);
        if (column.frame & kFrameBottom)
            Line(dc, cell.left, cell.bottom, cell.right, cell.bottom);
        x += column.width;
        dc.SelectFont(previous);
    }
}

void CReport::DrawBody(DrawSurface& dc, const Rect& rect, const ReportPage& page, const Rect& area)
{
    ListDef& def = Def(page.definition);
    bool firstPage = page.rowsBefore == 0;
    int last = std::min(page.rowsBefore + page.rows, static_cast<int>(def.bodyRows.size()));
    int height = 0;
    for (int i = page.rowsBefore + 1; i <= last; ++i)
        height += RowPitch(def, i, firstPage);
    // Only a row taller than the room for rows reaches into the footer; it is
    // cut off there.
    int saved = 0;
    if (height > rect.bottom - rect.top) {
        saved = dc.SaveDC();
        dc.IntersectClipRect(area.left, rect.top, area.right, rect.bottom);
    }
    int y = rect.top;
    for (int i = page.rowsBefore + 1; i <= last; ++i) {
        const ReportRow& row = Nth(def.bodyRows, i);
        for (int l = 1; l <= static_cast<int>(def.bodyLines.size()); ++l) {
            if (LineHidden(row.style, l))
                continue;
            const ReportLine& line = Nth(def.bodyLines, l);
            int top = y + (l == 1 ? 0 : def.lineBottoms[static_cast<size_t>(l - 1)]);
            DrawCells(dc, def.bodyColumns, line, &row, rect.left, top, line.height);
            if (line.underline)
                Line(dc, rect.left, top + line.height, rect.right, top + line.height);
        }
        y += RowPitch(def, i, firstPage);
    }
    if (saved != 0)
        dc.RestoreDC(saved);
}

void CReport::DrawFrameLines(DrawSurface& dc, const std::vector<ReportColumn>& columns,
                             const std::vector<ReportLine>& lines, const std::vector<ReportRow>& rows, int height,
                             const Rect& rect, bool thickUnderline)
{
    const ReportRow* texts = rows.empty() ? nullptr : &rows.front();
    for (int k = 1; k <= static_cast<int>(lines.size()); ++k) {
        const ReportLine& line = Nth(lines, k);
        DrawCells(dc, columns, line, texts, rect.left, rect.top + (k - 1) * height, height);
        if (!line.underline)
            continue;
        int y = rect.top + k * height;
        if (thickUnderline) {
            platform::DrawPen previous = dc.SelectPen({platform::PenStyle::Solid, 6, 0});
            Line(dc, rect.left, y, rect.right, y);
            dc.SelectPen(previous);
        } else {
            Line(dc, rect.left, y, rect.right, y);
        }
    }
}

void CReport::DrawHeader(DrawSurface& dc, Rect& rect, PrintInfo& info)
{
    const ListDef& def = Def(m_pages.at(static_cast<size_t>(info.currentPage - 1)).definition);
    if (def.headerLines.empty())
        return;
    DrawFrameLines(dc, def.headerColumns, def.headerLines, def.headerRows, def.headerLineHeight, rect, true);
    rect.top += static_cast<int>(def.headerLines.size()) * def.headerLineHeight;
}

void CReport::DrawFooter(DrawSurface& dc, Rect& rect, PrintInfo& info)
{
    const ListDef& def = Def(m_pages.at(static_cast<size_t>(info.currentPage - 1)).definition);
    if (def.footerRule)
        Line(dc, rect.left, rect.top, rect.right, rect.top);
    DrawFrameLines(dc, def.footerColumns, def.footerLines, def.footerRows, def.footerLineHeight, rect, false);
}

}  // namespace results
