// The text list file, and what the three formats share.
#include "results/data/ResStrings.h"
#include "results/lists/files/CellText.h"
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

std::string ProgramAndWebAddress() { return std::string("BVRes - ") + kMakerWebAddress; }

std::string TextListFile(const std::vector<ListDef>& defs)
{
    std::string out;
    for (const ListDef& def : defs) {
        out += PlainText(HeaderCell(def, 5)) + " " + PlainText(HeaderCell(def, 6)) + "\r\n";
        const int columns = static_cast<int>(def.bodyColumns.size());
        for (const ReportRow& row : def.bodyRows) {
            // Empty cells leave no empty fields: "a", "", "b" gives "a;b".
            std::string line;
            for (int c = 1; c <= columns; ++c) {
                const std::string& text = CellOf(row, c);
                if (text.empty())
                    continue;
                if (c > 1 && !line.empty())
                    line += ';';
                line += PlainText(text);
            }
            out += line + "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace results
