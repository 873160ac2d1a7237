#pragma once
// The model every printed list, preview and list file of BVRes is made from.
// A producer describes its list as one or more list definitions: small
// tables with a page header, a page footer and a body of rows, each row one
// or more text lines of columns. It draws nothing itself; the report engine
// (Report.h) lays the model out on the printer, and the list files write it.
//
// Numbers of lines, columns, rows and definitions count from 1, as the
// producers use them; the arrays grow as the producers add to them.
#include "platform/ui/draw/DrawTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace results {

// Edges drawn around a cell.
enum ReportFrame : uint8_t { kFrameLeft = 1, kFrameTop = 2, kFrameRight = 4, kFrameBottom = 8, kFrameBox = 0x0F };

// A column's text alignment, as the drawing call takes it.
enum ReportAlign : int { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

// One column of a line of the header, the footer or a body row.
struct ReportColumn {
    uint8_t frame = 0;        // ReportFrame edges
    int fitChars = 0;         // the column holds this many "X"; its font shrinks until it does
    int align = kAlignLeft;   // ReportAlign
    int width = 0;            // device units, from the percentage, by the layout
    int widthPercent = 0;     // share of the printable width
    int line = 0;             // the line (from 1) the column stands on
    int pointSize = 0;        // reduced by the fitting
    std::string face;         // "Arial", "Times New Roman", "Courier New"
    bool bold = false;
    int columnCode = 0;       // the coded result lists' column code; -1 an empty column

    // The font the layout made for the column; none outside a layout.
    std::optional<platform::DrawFont> font;
    // The point size the producer asked for; every layout fits from it again,
    // so a definition laid out twice (the preview going back) looks the same.
    int declaredPointSize = 0;

    // RTF texts of the column, for the list file writer.
    std::string cellDefinition;
    std::string cellStart;
    std::string cellEnd;
};

// One text line of the header, the footer or a body row.
struct ReportLine {
    int firstColumn = 0;      // columns of a line are consecutive
    bool underline = false;   // a rule across the printable width under the line
    int columnCount = 0;      // computed by the layout from the columns' lines
    int charWidth = 0;        // measured: widest "X" of the line's fonts
    int height = 0;           // measured: tallest "X" plus 4 device units
    std::string rowStart;     // RTF texts of the line, for the list file writer
    std::string rowEnd;
};

// A cell's text may hold line breaks ("\n", "\r\n" or "\r"). A cell with a
// link shows its text; an HTML list file makes it an anchor to the link.
struct ReportCell {
    std::string text;  // Windows-1252
    std::string link;  // Windows-1252; empty for none
};

// A row: one cell per column, in column order. A body row's style is a mask
// of hidden lines (bit l-1 hides line l) and makes the row compact on paper;
// list files write every line of every row.
struct ReportRow {
    std::vector<ReportCell> cells;
    uint16_t style = 0;
};

// What the engine keeps of every page printed or previewed.
struct ReportPage {
    int definition = 0;
    int rowsBefore = 0;       // body rows of the definition on its earlier pages
    int pageInDefinition = 0; // from 1
    int rows = 0;             // body rows on this page
};

// One list definition.
struct ListDef {
    std::vector<ReportLine> bodyLines;
    std::vector<ReportLine> headerLines;
    std::vector<ReportLine> footerLines;
    std::vector<ReportColumn> bodyColumns;    // numbered from 1 across all body lines
    std::vector<ReportColumn> headerColumns;
    std::vector<ReportColumn> footerColumns;
    std::vector<ReportRow> bodyRows;          // in print order
    std::vector<ReportRow> headerRows;        // row 1 holds the header texts
    std::vector<ReportRow> footerRows;        // row 1 holds the footer texts
    bool footerRule = false;                  // a line along the top edge of the footer
    bool filePage = false;                    // list files: a section of its own with header and footer

    // Measured by the layout, in device units.
    int largestBodyLineHeight = 0;
    int headerCharWidth = 0;
    int headerLineHeight = 0;                 // 4 units of spacing included
    int footerCharWidth = 0;
    int footerLineHeight = 0;
    // [0] the height of a whole body row, [l] the bottom of body line l from
    // the top of the row; one entry more than the body has lines.
    std::vector<int> lineBottoms;
};

// Element l, c, r (from 1) of an array of the model. A number outside the
// array is a fault of the producer and throws std::out_of_range.
template <typename T>
T& Nth(std::vector<T>& items, int n)
{
    return items.at(static_cast<size_t>(n - 1));
}
template <typename T>
const T& Nth(const std::vector<T>& items, int n)
{
    return items.at(static_cast<size_t>(n - 1));
}

// Grows (or shrinks) an array of the model to n elements, new ones empty.
template <typename T>
void SizeTo(std::vector<T>& items, int n)
{
    items.resize(static_cast<size_t>(n < 0 ? 0 : n));
}

}  // namespace results
