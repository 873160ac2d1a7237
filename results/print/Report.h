#pragma once
// The report engine behind every printed list and preview of BVRes. A list
// producer fills the model (ReportModel.h) through this class and hands it
// to Print (printer or preview); the engine lays each definition out on the
// printer (column widths from their percentages, fonts shrunk until each
// column holds its characters, line heights measured on the device) and
// draws it page by page: the definition's header, as many body rows as fit,
// its footer. Every definition starts a page of its own.
//
// How a producer fills it:
//   1. grow aListDef to the definitions it needs (from 1);
//   2. per definition: the page frame (PageFrame.h: margins, header, footer,
//      body columns), its own column and line changes, the header and footer
//      texts, then AddRow for every row;
//   3. ListComplete(definitions) when done; a producer that found nothing
//      leaves the current definition at 0 and nothing is printed.
// The model is emptied at the end of every printout and preview.
#include "results/print/ListPrintJob.h"
#include "results/print/ReportModel.h"

#include <cstdint>
#include <vector>

namespace results {

class CReport : public CPrintJob {
public:
    // What FitColumn measures for.
    enum ColumnKind { kHeaderColumns = 1, kFooterColumns = 2, kBodyColumns = 3 };
    // Rows of the first page of a definition that always take a whole row's
    // height, whatever their style.
    static constexpr int kFullRowsFirst = 8;
    // Text insets of left and right aligned cells, in device units.
    static constexpr int kCellInset = 40;
    // Spacing added to every measured line.
    static constexpr int kLineSpacing = 4;

    CReport();
    ~CReport() override;

    // ---- the model ----------------------------------------------------------
    ListDef& Def(int d) { return Nth(aListDef, d); }
    const ListDef& Def(int d) const { return Nth(aListDef, d); }
    // Appends a row of definition d with a copy of every given cell.
    void AddRow(const std::vector<ReportCell>& cells, int d, uint16_t style = 0);
    void AddHeaderRow(const std::vector<ReportCell>& cells, int d);
    void AddFooterRow(const std::vector<ReportCell>& cells, int d);
    // The producer's last step: the list of definitions 1..definitions is
    // complete and printing starts with the first.
    void ListComplete(int definitions);
    // Empties every definition, the definitions and the page records.
    void Reset();
    void FreeFonts(int d);

    // ---- the printout -------------------------------------------------------
    bool OnPreparePrinting(PrintInfo& info, bool noDialog, bool spare) override;
    void OnBeginPrinting(platform::DrawSurface& dc, PrintInfo& info) override;
    void OnPrint(platform::DrawSurface& dc, PrintInfo& info) override;
    void OnEndPrinting(platform::DrawSurface& dc, PrintInfo& info) override;

    // ---- layout, for the engine and its tests -------------------------------
    // The page margins taken off a device rectangle; the left edge falls on a
    // multiple of 100 units and the right margin is 5 mm wider than set.
    void ApplyMargins(const platform::DrawSurface& dc, platform::Rect& rect) const;
    void LayoutDefinition(platform::DrawSurface& dc, PrintInfo& info, int d);
    void BeginDefinition(platform::DrawSurface& dc, PrintInfo& info, int d);
    // Shrinks column c until it holds its characters; the number of points taken off.
    int FitColumn(platform::DrawSurface& dc, int c, std::vector<ReportColumn>& columns, ColumnKind kind, ListDef& def);
    // One point smaller, and the font made anew.
    void settfont(int c, platform::DrawSurface& dc, std::vector<ReportColumn>& columns);
    bool NextDefinition(PrintInfo& info);
    void DrawHeader(platform::DrawSurface& dc, platform::Rect& rect, PrintInfo& info);
    void DrawFooter(platform::DrawSurface& dc, platform::Rect& rect, PrintInfo& info);

    // The height body row i (from 1) of a laid-out definition takes on a page;
    // firstPage for the definition's first page.
    int RowPitch(const ListDef& def, int i, bool firstPage) const;
    // How many rows from rowsBefore + 1 on stand on a page of the given room
    // for the body: at least one while rows are left.
    int RowsOnPage(const ListDef& def, int rowsBefore, bool firstPage, int room) const;
    // The room for body rows on a page of definition d (laid out).
    int BodyRoom(const platform::DrawSurface& dc, const PrintInfo& info, int d) const;

    // ---- the state ----------------------------------------------------------
    std::vector<ReportPage> m_pages;   // page p at p - 1
    int m_pageCounter = 0;             // the next new page's number within the current definition
    int m_defCount = 0;
    int m_currentDef = 0;              // 1-based; 0 = no list
    std::vector<ListDef> aListDef;     // definition d at d - 1
    bool m_previewFlag = false;        // the next Print opens a preview
    int m_lastPrinted = 0;             // 0 = none
    int m_marginLeft = 0;              // millimetres
    int m_marginTop = 0;
    int m_marginRight = 0;
    int m_marginBottom = 0;
    int m_rowsPerPage = 0;             // of the page being drawn
    int m_bodyColumnCount = 0;
    int m_bodyRowCount = 0;

private:
    void MakeFont(platform::DrawSurface& dc, ReportColumn& column, int points);
    void LayoutFrameColumns(platform::DrawSurface& dc, ListDef& def, std::vector<ReportColumn>& columns,
                            std::vector<ReportLine>& lines, ColumnKind kind, int width);
    void DrawCells(platform::DrawSurface& dc, const std::vector<ReportColumn>& columns, const ReportLine& line,
                   const ReportRow* row, int left, int top, int height);
    void DrawFrameLines(platform::DrawSurface& dc, const std::vector<ReportColumn>& columns,
                        const std::vector<ReportLine>& lines, const std::vector<ReportRow>& rows, int height,
                        const platform::Rect& rect, bool thickUnderline);
    void DrawBody(platform::DrawSurface& dc, const platform::Rect& rect, const ReportPage& page,
                  const platform::Rect& area);
    bool NeedsLayout(int p) const;

    int m_laidOut = 0;  // the definition whose fonts and measures stand
};

}  // namespace results
