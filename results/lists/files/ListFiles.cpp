#include "results/lists/files/ListFiles.h"

#include <algorithm>

namespace results {
namespace {

const std::string kNoText;
const ReportCell kNoCell;

}  // namespace

const ReportCell& CellAt(const ReportRow& row, int c)
{
    if (c < 1 || c > static_cast<int>(row.cells.size()))
        return kNoCell;
    return row.cells[static_cast<size_t>(c) - 1];
}

const std::string& CellOf(const ReportRow& row, int c) { return CellAt(row, c).text; }

const std::string& HeaderCell(const ListDef& def, int c)
{
    return def.headerRows.empty() ? kNoText : CellOf(def.headerRows.front(), c);
}

const std::string& FooterCell(const ListDef& def, int c)
{
    return def.footerRows.empty() ? kNoText : CellOf(def.footerRows.front(), c);
}

ColumnRange LineColumns(const ListDef& def, int l)
{
    ColumnRange range;
    if (l < 1 || l > static_cast<int>(def.bodyLines.size()))
        return range;
    range.first = std::max(1, def.bodyLines[static_cast<size_t>(l) - 1].firstColumn);
    int onLine = static_cast<int>(std::count_if(def.bodyColumns.begin(), def.bodyColumns.end(),
                                                [l](const ReportColumn& c) { return c.line == l; }));
    int columns = static_cast<int>(def.bodyColumns.size());
    range.count = std::max(0, std::min(onLine, columns - range.first + 1));
    return range;
}

}  // namespace results
