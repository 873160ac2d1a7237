#pragma once
// The shot log of one card, worked out without a device: its captions and
// texts, the columns of a page, the text of every column of a shot's row,
// and which row goes on which page. The shot-list printer draws what these
// place.
//
// Lengths are 0.1 mm. Positions on a page run downwards from the top margin.
#include "foundation/comp/DataComp.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// What a caller sets on a shot-list printer before printing; English by
// default, the programs put their language's texts in. Windows-1252.
struct ShotListSettings {
    static constexpr int kSeriesNames = 28;

    std::string documentName;
    std::string valueCaption;
    std::string xCaption;
    std::string yCaption;
    std::string temperatureCaption;
    std::string sensorCaption;
    std::string timeCaption;     // not printed
    std::string commentCaption;
    std::string hardwareCaption;
    std::string bandCaption;
    std::string turnCaption;
    std::string turnedText;      // remark of a shot turned away on turning targets
    std::string shotAtCaption;   // not printed
    std::string headText1;       // first head line, right-aligned
    std::string headText2;       // second head line, right-aligned
    std::string headText3;       // first head line, at a fifth of the width
    std::string dateCaption;
    std::string headText4;       // second head line, before " - "
    std::string footerText;      // the program's name, left in the foot
    std::string headText5;       // second head line, after " - "
    std::string relayCaption;
    std::string laneCaption;
    std::string manualText;      // remark of a shot without coordinates
    std::string simulatedText;   // remark of a shot no target delivered
    std::string frameText;
    std::string smallAdvanceText;
    std::array<std::string, 3> pressureTexts;  // signal ratings 75, 50 and 25
    std::string copiedText;
    std::array<std::string, 4> resultTexts;    // result states 1 to 4
    std::string decimalSign;
    double distanceScale = 1.0;  // applied to X, Y and radius
    int mode = 0;                // 1 turning targets, 2 running targets, 129 turning with run counters
    std::array<std::string, kSeriesNames> seriesNames;  // series 1 to 28
    // The competition's option string, as the programs hand it over with
    // the series names; the log itself does not read it.
    std::string compOptions;

    ShotListSettings();

    // The head texts as the card dialog and the remote program fill them.
    void SetTitles(std::string_view competition, std::string_view date, std::string_view owner,
                   std::string_view rangeName, std::string_view target);
    // Name of series 1..28; a series the caller gave no name is shown by its number.
    std::string SeriesName(int series) const;
};

namespace ShotListLayout {

constexpr int kWidths[14] = {25, 65, 35, 65, 65, 65, 80, 80, 70, 40, 100, 45, 40, 160};

// The page in 0.1 mm: printable width and height less 1 mm, the margins
// and where the text starts.
struct Page {
    int W = 0;
    int H = 0;
    int m = 0;    // left margin
    int t = 0;    // top margin
    int F = 0;    // text left
    bool landscape = false;
    int rowsPerPage = 68;
    std::array<int, 14> x{};  // column edges x0..x13
};
// width, height: the printable area in 0.1 mm; ox, oy: the printer's
// physical offsets in 0.1 mm.
Page PageOf(int width, int height, int ox, int oy);

// A column heading: the text, where it stands (right-aligned at x, or
// left-aligned from x) and how wide it may be without running into its
// neighbour. The head's font shrinks for a heading wider than its room.
struct Heading {
    std::string text;
    int x = 0;
    bool right = true;
    int room = 0;
};
std::vector<Heading> Headings(const ShotListSettings& settings, const Page& page);

// The texts of one shot's row, by column.
struct RowTexts {
    std::string mark;      // at m
    std::string number;    // at x0; with the fired series' name when it counts in another
    std::string value;     // right-aligned between x1 and x2
    bool coordinates = true;
    std::string x, y, radius;
    std::string date, time;
    std::string turn;      // right-aligned at x8
    std::string temperature;
    std::string sensors;
    std::string hardware;
    std::string band;
    std::string remarks;   // left-aligned at x12 + 2 mm
};

// A coordinate in micrometres as millimetres with three decimals.
std::string Millimetres(int micrometres, double scale, std::string_view sign);

// One row: the shot in `slot`, listed as row r of counting series n; first
// is the first shot listed in that series (its run counter is the base of
// the run numbers on running targets). values gives the value texts and the
// signal rating.
RowTexts Row(const ShotListSettings& settings, const CDataComp& values, const CardRecord& card,
             const ShotListRecord& list, int slot, int n, int r, int first);

// Which row goes where: a head at the top of each page, a series heading
// where the counting series changes, rows 3.5 mm apart.
struct Line {
    enum Kind { kHead, kHeading, kRow };
    Kind kind = kRow;
    int page = 1;
    int y = 0;         // bottom of the text below the top margin (a head: 0)
    int series = 0;
    int slot = -1;     // kRow
    int r = 0;         // kRow: number in its series
    int first = -1;    // kRow: slot of the first row of its series
};
struct Plan {
    std::vector<Line> lines;
    int pages = 1;
    int lastBottom = 0;  // bottom of the last row (0 without rows)
};
Plan PlanOf(const ShotListRecord& list, const uint8_t order[CDataComp::kSlots], int rowsPerPage);

// The slot of a counting series a shot is listed under: its counting series,
// or its fired series when it counts in none.
int ListedSeries(const ShotRecord& shot);

}  // namespace ShotListLayout
