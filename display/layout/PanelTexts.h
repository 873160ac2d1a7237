#pragma once
// What the panels, the header and the message screens say, worked out
// without a device: a shot's cell in the shot list, the cells of the series
// table and the sub-sums, the header's event and series texts, the message
// texts. The painter puts them into their boxes.
#include <string>
#include <vector>

#include "display/model/VisData.h"
#include "foundation/comp/DataComp.h"

namespace PanelTexts {

// Language texts by key, as the program's table gives them (Windows-1252).
std::string Text(const char* key);

// How a value is written by the card's value system: two decimals (system
// 6), one (system 2), or whole rings.
struct ValueFormat {
    int value;    // what is drawn: value / divisor
    int divisor;  // 100, 10, or 1 for a whole number
};
ValueFormat FormatValue(int hundredths, int valueSystem);
// The same, always with decimals (the shot list's cells with a number).
ValueFormat FormatWithDecimals(int hundredths, int valueSystem);

// A shot's value as the shot list shows it: 0 for a turned-away shot on a
// turning-target range; the inner ten as the highest ring and its decimals
// with a "*" (as stored in value system 3); 1200 and above as the decimals
// with a "*".
struct ShotValue {
    int value = 0;
    bool star = false;
};
ShotValue ShotListValue(const ShotRecord& s, bool turningRange, int valueSystem, int highestRing);

// A shot time in hundredths: "%5.2fs" up to 99.98 s, "%5.1fs" up to
// 999.98 s, else "%5.0fs".
std::string ShotTimeText(int hundredths);

// The shot list of an element: shots per page, its grid and its cells.
struct ShotListShape {
    int perPage = 10;
    int columns = 1;
    int rows = 1;
    bool byColumns = false;
    int chars = 3;  // the font is fitted for so many characters
    bool numbered = false;  // each cell names its shot (a face with several cells)
};
ShotListShape ListShape(const CVisTarget& t, int width, int height);

// One cell of the shot list: the label before the value (a shot number or
// run, or a time) and where it ends, the value and its colour.
struct ShotCell {
    std::string label;
    int labelAt = 40;  // right-aligned at this percentage of the cell
    ShotValue value;
    bool marked = false;  // in the marked-shot colour
};
// The cell of the n-th shot (1-based) of the current series.
ShotCell ListCell(const CVisTarget& t, int n, const ShotListShape& shape, int highestRing);

// The series table: line sums of one series, series sums of several, or
// one row per series with its line sums, "=" and their sum.
struct SeriesTable {
    int columns = 0;
    int rows = 0;
    bool byColumns = false;
    bool matrix = false;
    std::vector<int> values;  // -1: an empty cell
    std::vector<bool> sums;   // the cell is a row's sum
    int chars = 2;
};
SeriesTable SeriesTableCells(const CVisTarget& t, int width, int height);

// The sub-sums box: a start score line, the program's sub-sums, a total
// line for a program without sub-sums.
struct SumLine {
    std::string name;
    int value = 0;
    int kind = 0;  // 0 a sum, 2 an average, 3 an estimate
};
std::vector<SumLine> SumLines(const CVisTarget& t);

// The header: the event and its relay (when every element shows the same
// relay), and the series all elements are in (none when they differ).
std::string HeaderEventText(const CVisPicture& pic);
bool HeaderSeriesText(const CVisPicture& pic, std::string& text);

// The whole-picture message, and an element's message over its cell.
std::string MessageScreenText(const CVisData& data);
std::string PanelMessageText(const CVisPicture* pic, const CVisTarget& t);

}  // namespace PanelTexts
