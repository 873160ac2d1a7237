// The text list file.
#include "results/lists/files/TextListFile.h"

#include "results/lists/files/CellText.h"
#include "results/lists/files/ListFiles.h"

namespace results {

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
