#pragma once
// The three list file formats, each made whole in memory from the list
// definitions of a model: an RTF document with the same tables and page
// frame as the printout, an HTML page, or text of semicolon-separated
// fields. The fixed text of each format is the same byte for byte as it has
// always been, every line ending in CR LF; the cells' texts are escaped for
// the format (CellText.h).
#include "results/print/ReportModel.h"

#include <string>
#include <vector>

namespace results {

struct RtfFileOptions {
    bool header = false;     // the page header group of every definition
    bool footer = false;     // the page footer group
    bool compact = false;    // definitions share one section unless they ask for a page
    bool pressList = false;  // the rows as the press list's running text
};

// The RTF writer keeps its row and cell texts in the model's lines and
// columns while it writes, hence the definitions it changes.
std::string RtfListFile(std::vector<ListDef>& defs, const RtfFileOptions& options);
// printTime: "%H:%M - %d.%m.%Y" of the time the page was written.
std::string HtmlListFile(const std::vector<ListDef>& defs, bool header, int webFontSize,
                         const std::string& printTime);
std::string TextListFile(const std::vector<ListDef>& defs);

// Pieces of the RTF document for writers of one definition per file: the
// page header group of header row 1 (with the result lists' caption row
// when captions is set and the definition has one), the page footer group
// of footer row 1, and the body rows from firstRow (from 1) on.
void RtfPageHeader(std::string& out, const ListDef& def, bool captions);
void RtfPageFooter(std::string& out, const ListDef& def);
void RtfBody(std::string& out, ListDef& def, int firstRow);

// Used by the writers: cell c (from 1) of a row, empty beyond its cells;
// cell c of header row 1 and of footer row 1.
const std::string& CellOf(const ReportRow& row, int c);
const ReportCell& CellAt(const ReportRow& row, int c);
const std::string& HeaderCell(const ListDef& def, int c);
const std::string& FooterCell(const ListDef& def, int c);
// The body columns of line l, as the layout takes them: from the line's
// first column on, as many as stand on line l.
struct ColumnRange {
    int first = 1;
    int count = 0;
};
ColumnRange LineColumns(const ListDef& def, int l);

// One body row of a definition as HTML table rows, a row per body line, on
// the pale or white ground of odd and even row numbers; the font size of a
// cell on line 1, in "Courier New" and of any other cell.
struct HtmlFontSizes {
    int firstLine = 3;
    int courier = 3;
    int other = 3;
};
void HtmlBodyRow(std::string& out, const ListDef& def, const ReportRow& row, int rowNumber, HtmlFontSizes sizes);

// The maker's web address and the program, in the HTML pages' title and foot.
std::string ProgramAndWebAddress();

}  // namespace results
