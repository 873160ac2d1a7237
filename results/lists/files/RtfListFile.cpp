// The RTF list file: A4 portrait with 1 cm margins, each definition a table
// (in a section of its own unless compact), with the printout's page header
// and footer as RTF header and footer groups when asked for.
#include "results/lists/files/RtfListFile.h"

#include "results/lists/files/CellText.h"
#include "results/lists/files/ListFiles.h"

#include <algorithm>
#include <cstdio>

namespace results {
namespace {

// The width between the margins, in twips.
constexpr int kTableWidth = 10771;

constexpr const char* kPrologue =
    "{\\rtf1\\ansi \\deflang1033\\deff0\r\n{\\fonttbl\r\n"
    "{\\f0\\fswiss\\fcharset0 Arial;}\r\n"
    "{\\f1\\fmodern\\fprq1\\fcharset0 Courier New;}\r\n"
    "{\\f2\\froman\\fprq2\\fcharset0 Times New Roman;}\r\n}\r\n"
    "\\notabind\\paperw11905\\paperh16837\\margl567\\margr567\\margt567\\margb567\\"
    "viewkind1\\lytprtmet\\subfontbysize \\headery567\\footery567\r\n{\r\n";

constexpr const char* kHeaderRow = "\\trowd \\trql\\trgaph100\\trkeep\r\n";
constexpr const char* kCaptionBox = "\\clbrdrb\\brdrth\\clbrdrt\\brdrth\\clbrdrl\\brdrth\\clbrdrr\\brdrth\\cellx";
constexpr int kSevenCaptionEdges[] = {430, 1077, 4769, 5199, 8185, 9047, 10771};
constexpr int kNineCaptionEdges[] = {430, 1077, 4092, 4739, 5493, 7755, 8502, 9263, 10771};

const char* FontWord(const std::string& face)
{
    if (face == "Courier New")
        return "f1";
    if (face == "Times New Roman")
        return "f2";
    return "f0";
}

const char* AlignWord(int align)
{
    if (align & kAlignRight)
        return "qr";
    if (align & kAlignCentre)
        return "qc";
    return "ql";
}

}  // namespace

void RtfPageHeader(std::string& out, const ListDef& def, bool captions)
{
    auto cell = [&](int c) { return RtfText(HeaderCell(def, c)) + "\r\n"; };
    out += "{\\header \\fs24\\pard \\fs24\r\n";
    out += kHeaderRow;
    out += "\\cellx5924\r\n\\cellx10771\r\n";
    out += "\\pard \\f2\\fs28\\intbl\\ql\r\n" + cell(1) + "\\cell\r\n";
    out += "\\pard \\f2\\fs28\\intbl\\qr\r\n" + cell(2) + "\\cell\\pard\\intbl\\row\r\n";
    out += kHeaderRow;
    out += "\\cellx4308\r\n\\cellx10771\r\n";
    out += "\\pard \\f2\\fs28\\intbl\\ql\r\n" + cell(3) + "\\cell\r\n";
    out += "\\pard \\f2\\fs28\\b\\intbl\\qr\r\n" + cell(4) + "\\cell\\pard\\b0\\intbl\\row\r\n";
    out += kHeaderRow;
    out += kHeaderRow;
    out += "\\clbrdrb\\brdrs\\brdrw32\\brdrcf2\\cellx6463\r\n";
    out += "\\clbrdrb\\brdrs\\brdrw32\\brdrcf2\\cellx10771\r\n";
    out += "\\pard \\f2\\fs28\\b\\intbl\\ql\r\n" + cell(5) + "\\cell\\pard\\b0\\intbl\r\n";
    out += "\\pard \\f2\\fs28\\b\\intbl\\qr\r\n" + cell(6) + "\\cell\\pard\\b0\\intbl\\row\r\n";
    if (captions && def.headerLines.size() > 3) {
        // The caption line: boxed cells of the result table's columns.
        const bool seven = def.headerColumns.size() == 13;
        if (!seven)
            out += std::string(kHeaderRow) + "\\cellx10771\r\n\\cell\\pard\\intbl\\row\r\n";
        out += kHeaderRow;
        if (seven) {
            for (int edge : kSevenCaptionEdges)
                out += kCaptionBox + std::to_string(edge) + "\r\n";
        } else {
            for (int edge : kNineCaptionEdges)
                out += kCaptionBox + std::to_string(edge) + "\r\n";
        }
        const int last = seven ? 13 : 15;
        for (int c = 7; c <= last; ++c)
            out += "\\pard \\f2\\fs20\\intbl\\qc\r\n" + cell(c) +
                   (c == last ? "\\cell\\pard\\intbl\\row\r\n" : "\\cell\r\n");
    }
    out += "\\pard\r\n}\r\n";
}

void RtfPageFooter(std::string& out, const ListDef& def)
{
    auto cell = [&](int c) { return RtfText(FooterCell(def, c)) + "\r\n"; };
    out += "{\\footer \\fs28\\pard \\fs28\r\n";
    out += kHeaderRow;
    out += "\\clbrdrt\\brdrs\\brdrw32\\brdrcf2\\cellx10771\r\n";
    out += "\\pard \\f2\\fs28\\b\\intbl\\qc\r\n" + cell(1) + "\\cell\\pard\\b0\\intbl\\row\r\n";
    out += kHeaderRow;
    out += "\\cellx10771\r\n";
    out += "\\pard \\f2\\fs28\\b\\intbl\\qc\r\n" + cell(2) + "\\cell\\pard\\b0\\intbl\\row\r\n";
    out += kHeaderRow;
    out += "\\cellx5385\r\n\\cellx10771\r\n";
    out += "\\pard \\f2\\fs12\\intbl\\ql\r\n" + cell(3) + "\\cell\\pard\\intbl\r\n";
    out += "\\pard \\f2\\fs12\\intbl\\qr\r\n" + cell(4) + "\\cell\\pard\\intbl\\row\r\n";
    out += "}\r\n";
}

namespace {

// The row and cell texts of every body line and column, kept in the model.
void PrepareBody(ListDef& def)
{
    for (size_t l = 1; l <= def.bodyLines.size(); ++l) {
        ReportLine& line = def.bodyLines[l - 1];
        line.rowStart = "\\pard \\trowd \\trql\\trgaph30\\trkeep\r\n";
        line.rowEnd = "\\row\r\n";
        const char* border = line.underline ? "\\clbrdrb\\brdrs\\brdrw32\\brdrcf2" : "";
        ColumnRange range = LineColumns(def, static_cast<int>(l));
        int percent = 0;
        for (int c = range.first; c < range.first + range.count; ++c) {
            ReportColumn& column = def.bodyColumns[static_cast<size_t>(c) - 1];
            percent += column.widthPercent;
            char text[96];
            std::snprintf(text, sizeof text, "%s\\cellx%d\r\n", border, kTableWidth * percent / 100);
            column.cellDefinition = text;
            std::snprintf(text, sizeof text, "\\pard \\%s\\fs%d\\intbl\\%s\r\n", FontWord(column.face),
                          2 * column.pointSize, AlignWord(column.align));
            column.cellStart = text;
            column.cellEnd = "\\cell\r\n";
        }
    }
}

}  // namespace

void RtfBody(std::string& out, ListDef& def, int firstRow)
{
    PrepareBody(def);
    for (size_t r = static_cast<size_t>(std::max(firstRow, 1)) - 1; r < def.bodyRows.size(); ++r) {
        const ReportRow& row = def.bodyRows[r];
        for (size_t l = 1; l <= def.bodyLines.size(); ++l) {
            const ReportLine& line = def.bodyLines[l - 1];
            ColumnRange range = LineColumns(def, static_cast<int>(l));
            out += line.rowStart;
            for (int c = range.first; c < range.first + range.count; ++c)
                out += def.bodyColumns[static_cast<size_t>(c) - 1].cellDefinition;
            for (int c = range.first; c < range.first + range.count; ++c) {
                const ReportColumn& column = def.bodyColumns[static_cast<size_t>(c) - 1];
                out += column.cellStart + RtfText(CellOf(row, c)) + "\r\n" + column.cellEnd;
            }
            out += line.rowEnd;
        }
    }
}

namespace {

// The press list's running text: headings in bold, then place, name, club
// and result of each row, one paragraph per heading.
void RunningText(std::string& out, const ListDef& def)
{
    const std::string* previousCell3 = nullptr;
    bool first = true;
    for (const ReportRow& row : def.bodyRows) {
        const std::string& place = CellOf(row, 1);
        const std::string& name = CellOf(row, 2);
        const std::string& club = CellOf(row, 3);
        const std::string& result = CellOf(row, 4);
        if (place.empty() && club.empty()) {
            out += first ? "\\pard\\f0\\fs20\\b\r\n" + RtfText(name) + ":\\b0 "
                         : "\\par\r\n\\pard\\f0\\fs20\\b\r\n" + RtfText(name) + ": \\b0 ";
        } else {
            if (place == "(")
                out += "(";
            else if (place == "1" || place == "eo 1")
                out += RtfText(place) + ". ";
            else if (!place.empty())
                out += ", " + RtfText(place) + ". ";
            else if (previousCell3 != nullptr && !previousCell3->empty())
                out += ", ";
            if (!name.empty())
                out += RtfText(name) + ", ";
            if (!club.empty())
                out += RtfText(club) + " ";
            if (!result.empty())
                out += RtfText(result);
        }
        previousCell3 = &club;
        first = false;
    }
    out += "\\par";
}

}  // namespace

std::string RtfListFile(std::vector<ListDef>& defs, const RtfFileOptions& options)
{
    std::string out = kPrologue;
    for (size_t d = 0; d < defs.size(); ++d) {
        ListDef& def = defs[d];
        if (d > 0)
            out += options.compact && !def.filePage ? "{\r\n" : "{\r\n\\sect\r\n\\sectd\r\n";
        if (options.pressList) {
            RunningText(out, def);
        } else {
            if (options.header || def.filePage)
                RtfPageHeader(out, def, true);
            else if (!def.headerRows.empty())
                out += "\\pard \\fs28 \\b\r\n" + RtfText(HeaderCell(def, 5)) + " " + RtfText(HeaderCell(def, 6)) +
                       "\r\n\\par \\b0\r\n";
            if (options.footer || def.filePage)
                RtfPageFooter(out, def);
            RtfBody(out, def, 1);
        }
        out += "}\r\n";
    }
    out += "}\r\n";
    return out;
}

}  // namespace results
