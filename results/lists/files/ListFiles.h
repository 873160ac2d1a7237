#pragma once
// What the three list file formats (RtfListFile.h, HtmlListFile.h,
// TextListFile.h) share: each is made whole in memory from the list
// definitions of a model, and reads a definition's cells and lines as the
// printout's layout takes them.
#include "results/print/ReportModel.h"

#include <string>

namespace results {

// Cell c (from 1) of a row, empty beyond its cells; cell c of header row 1
// and of footer row 1.
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

}  // namespace results
