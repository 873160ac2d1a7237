#pragma once
// The HTML list file: one table per definition on a pale page that declares
// windows-1252, the list's title above it when asked for, the program and
// the time below the last. The fixed text is the same byte for byte as it
// has always been, every line ending in CR LF; the cells' texts are escaped
// (CellText.h).
#include "results/print/ReportModel.h"

#include <string>
#include <vector>

namespace results {

// printTime: "%H:%M - %d.%m.%Y" of the time the page was written.
std::string HtmlListFile(const std::vector<ListDef>& defs, bool header, int webFontSize,
                         const std::string& printTime);

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
