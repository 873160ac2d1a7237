// The HTML list file: one table per definition on a pale page, the list's
// title above it when asked for, the program and the time below the last.
#include "results/lists/files/HtmlListFile.h"

#include "results/data/ResStrings.h"
#include "results/lists/files/CellText.h"
#include "results/lists/files/ListFiles.h"

#include <cstdio>

namespace results {
namespace {

const char* AlignText(int align)
{
    align &= kAlignCentre | kAlignRight;  // the cards' other text flags are the printer's
    if (align == kAlignRight)
        return "Align = Right";
    if (align == kAlignLeft)
        return "Align = Left";
    return "Align = Center";
}

}  // namespace

std::string ProgramAndWebAddress() { return std::string("BVRes - ") + kMakerWebAddress; }

void HtmlBodyRow(std::string& out, const ListDef& def, const ReportRow& row, int rowNumber, HtmlFontSizes sizes)
{
    const int lines = static_cast<int>(def.bodyLines.size());
    for (int l = 1; l <= lines; ++l) {
        out += rowNumber % 2 == 1 ? "<TR bgcolor =\"#FFFFDF\">\r\n" : "<TR bgcolor =\"#FFFFFF\">\r\n";
        ColumnRange range = LineColumns(def, l);
        for (int c = range.first; c < range.first + range.count; ++c) {
            const ReportColumn& column = def.bodyColumns[static_cast<size_t>(c) - 1];
            // A column of no width has no cell (COLSPAN 0 is no table).
            if (column.widthPercent <= 0)
                continue;
            const int points = l == 1 ? sizes.firstLine : column.face == "Courier New" ? sizes.courier : sizes.other;
            char open[96];
            std::snprintf(open, sizeof open, "<TD WIDTH=\"%d%%\"COLSPAN=\"%d\"%s><FONT SIZE=\"%d\">",
                          column.widthPercent, column.widthPercent / 2, AlignText(column.align), points);
            out += open;
            out += HtmlCell(CellAt(row, c));
            out += "</FONT></TD>\r\n";
        }
        out += "</TR>\r\n";
    }
}

std::string HtmlListFile(const std::vector<ListDef>& defs, bool header, int webFontSize, const std::string& printTime)
{
    std::string out;
    out += "<html>\r\n<head>\r\n";
    // Texts are the program's 8-bit characters: say which.
    out += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n";
    out += "<basefont face=\"arial\">\r\n";
    out += "<meta http-equiv=\"pragma\" content=\"no-cache\">\r\n";
    out += "<meta http-equiv=\"expires\" content=\"0\">\r\n";
    out += "<title>" + ProgramAndWebAddress() + "</title>\r\n";
    out += "</head>\r\n<body bgcolor=\"#FFFFDF\">\r\n";

    for (const ListDef& def : defs) {
        if (header) {
            const std::string& title1 = HeaderCell(def, 5);
            const std::string& title2 = HeaderCell(def, 6);
            std::string title = !title1.empty() && !title2.empty() ? HtmlText(title1) + "-" + HtmlText(title2)
                                : !title1.empty() || title2.empty() ? HtmlText(title1)
                                                                    : HtmlText(title2);
            out += "<center><font color=\"red\"><H2><u><b>" + title + "</b></u></H2></font></center>\r\n";
        }
        out += "<TABLE BORDER=\"0\" COLS=\"50\" WIDTH=\"100%\" CELLPADDING=\"4\" CELLSPACING=\"0\">\r\n";
        int r = 0;
        for (const ReportRow& row : def.bodyRows)
            HtmlBodyRow(out, def, row, ++r, {webFontSize, webFontSize, webFontSize});
        out += "</TABLE>\r\n<hr>";
    }

    out += "<TABLE BORDER=\"0\" COLS=\"2\" WIDTH=\"100%\" CELLPADDING=\"4\" CELLSPACING=\"0\">\r\n";
    out += "<TD  WIDTH=\"100%\"><FONT SIZE=\"2\"color=\"red\">" + ProgramAndWebAddress() + "</FONT></TD>\r\n";
    out += "<TD  WIDTH=\"100%\"><FONT SIZE=\"2\"color=\"red\"Align=Right>" + HtmlText(printTime) + "</FONT></TD>\r\n";
    out += "</TABLE>\r\n<hr></HTML>\r\n";
    return out;
}

}  // namespace results
