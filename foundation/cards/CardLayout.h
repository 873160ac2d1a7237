#pragma once
// Where everything of a printed shooting card goes, worked out without a
// device: the printer's settings, the page, the division of a card into
// sheets, the card head, the grid of series boxes, the series tables, the
// list lines and every text a card prints. The card printer draws what these
// functions place.
//
// Positions are logical units of the page (0.1 mm on paper), x to the right
// and y downwards from the top-left corner of the drawable page; u is one
// millimetre in those units.
#include "foundation/cards/PrintCard.h"
#include "foundation/targets/TargetTypes.h"
#include "platform/system/Geometry.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
struct LocalTime;
}

// What a caller sets on a card printer before printing. The captions and
// texts are Windows-1252.
struct CardPrintSettings {
    enum Layout : uint8_t { kSheets = 1, kHeadOnly = 2, kListLines = 3 };
    enum Caption { kTotal, kSeriesSum, kLane, kRelay, kStartNumber, kState1, kState2, kState3, kState4, kCaptions };

    int trueSize = 0;            // pictures at true size, centred on the mean impact
    std::string language;        // given to the target types before printing
    std::string headerA;         // right box of the first list head row; right of the card's third row
    std::string headerB;         // the wide box of the second list head row; middle of the card's third row
    std::string headerC;         // left box of the second list head row and of the card's third row
    std::string headerD;         // left box of the first list head row and of the card's second row
    std::string footer1;
    std::string footer2;
    uint8_t layout = 0;          // Layout; any other value prints no page for a card
    int margin = 15;             // left margin, mm
    std::string decimalSign;
    int seriesPerSheet = 6;      // most series boxes on one sheet before sheets are balanced
    uint8_t greyBlack = 1;       // the black of a face prints grey (1) or white (0)
    std::string documentName;
    std::string titlePrefix;     // before the type name in the title line
    std::array<uint8_t, 12> zoomLevels{};  // levels 0..11 a picture may be zoomed to
    uint8_t showDialog = 1;      // 0: the default printer without asking
    std::array<std::string, kCaptions> captions;
    uint8_t startNumberMode = 0; // one start-number box in the head instead of relay and lane
    std::string outputFolder;    // where card pictures are saved, ending in a backslash

    CardPrintSettings() { SetDefaults(); }
    void SetDefaults();

    // The head texts as the range control and the remote program have them.
    void SetRangeTitles(std::string_view owner, std::string_view competition, std::string_view date,
                        std::string_view rangeName, std::string_view sponsor);
    // The results program's six head texts.
    void SetResultsTitles(std::string_view organiser, std::string_view competition, std::string_view title2,
                          std::string_view eventName, std::string_view sponsor1, std::string_view sponsor2);
    // The program's name before the type name in the title line, as the
    // range control and the remote program title their printouts.
    void SetApplicationName(std::string_view name);
    // The stored zoom option: character 0 the complete target (level 0),
    // characters 1..10 levels 1..10; '0' is off, anything else on.
    void SetZoomOption(std::string_view flags);
    // The event name among the head texts, which begins a card picture's file name.
    const std::string& EventName() const { return headerA; }
};

namespace CardLayout {

using platform::Point;
using platform::Rect;

struct Segment {
    Point from;
    Point to;
};

// The text printed in the foot of heads and sheets as the maker's address.
extern const char* const kWebAddress;

// --- Page ---

struct Page {
    int u = 10;       // one millimetre
    int offsetX = 0;  // the drawable page starts this far right of the printable corner
    int offsetY = 0;  // and this far below it
    int w = 0;        // drawable width
    int h = 0;        // drawable height
};
// width and height: the device's page in logical units; margin in mm.
Page PageOf(int width, int height, int u, int margin);

// --- Sheets ---

// The series 1..39 in use, ascending.
std::vector<int> SeriesInUse(const PrintCard& card);
// Sheets of a card and the boxes each sheet is laid out for. A setting of
// less than 1 (read from a damaged file) counts as the default of 6.
struct Sheets {
    int count = 0;
    int perSheet = 0;
};
Sheets CountSheets(const PrintCard& card, int seriesPerSheet);

struct Grid {
    int columns = 1;
    int rows = 1;
};
Grid GridOf(int boxes);
// Box k (from 1) of a grid over an area.
Rect BoxRect(const Rect& area, const Grid& grid, int k);

// --- Texts ---

struct TextBox {
    Rect rect;
    std::string caption;  // 8 points, top left
    std::string text;     // bottom left
    int font = 2;         // 1: 8 points, 2: 12 points, 3: 24 points
};

// "%s%s" of the prefix and the type's name, with "   [%d:%d]" when the card
// was shot at another distance than its face was made for.
std::string Title(const CardPrintSettings& settings, const PrintCard& card, const CTargetTypes& types);
std::string PrintTime(const platform::LocalTime& time);
// The comment of a card trimmed and split into lines; read only as far as
// its field goes.
std::vector<std::string> CommentLines(const PrintCard& card);
// A card comment trimmed of blanks and line ends (at most 250 characters)
// and split at its line ends, each line trimmed the same way.
std::vector<std::string> CommentLines(std::string comment);
// The result text of a state 1..4; empty for any other.
std::string ResultText(const CardPrintSettings& settings, int state);

// A shot value as printed: the whole part stands right-aligned and the
// fraction left-aligned at the same place. top is the face's highest ring.
struct ValueParts {
    std::string whole;
    std::string fraction;
};
ValueParts ValueText(int value, int valueSystem, int top, std::string_view sign);
// Sum boxes: 1 or 2 decimals, or whole rings.
std::string SumText(int value, int decimals, std::string_view sign);
// Sums of the list lines: two decimals in value system 6, else one.
std::string ListSumText(int value, int valueSystem, std::string_view sign);
// The label before a shot's value: its time when the card shows times
// (times from -99 to 999999 hundredths), else its number.
std::string ShotLabel(bool showTime, int time, int number, std::string_view sign);

// --- Card head ---

struct Head {
    Rect frame;                 // the card's frame
    int titleBaseline = 0;      // bottom of the title strip's texts
    std::vector<TextBox> boxes; // in drawing order
    std::vector<std::string> commentLines;
    int commentX = 0;
    int commentTop = 0;         // of the first line; later lines 4u apart
    Rect gridArea;
};
Head CardHead(const CardPrintSettings& settings, const PrintCard& card, const Page& page);

// --- List lines ---

struct ListHead {
    Rect strip;                 // the foot strip
    int textBaseline = 0;
    int titleX = 0;             // centre of the title
    int addressX = 0;           // left of the address
    int timeX = 0;              // right of the print time
    std::vector<TextBox> boxes; // the four head boxes, 12 points, no captions
};
ListHead ListHeader(const CardPrintSettings& settings, const Page& page);

struct ListCell {
    enum Align { kLeft, kRight, kSplit };
    int row = 1;                // from 1
    int left = 0;
    int right = 0;
    Align align = kLeft;
    std::string text;           // kSplit: the whole part
    std::string fraction;       // kSplit: stands left-aligned at right - 4u
};
struct ListCard {
    int rows = 0;               // rows the card takes
    int lineHeight = 0;
    std::vector<ListCell> cells;
};
ListCard ListLines(const CardPrintSettings& settings, const PrintCard& card, const CTargetTypes& types, int u);
// Where the text of a cell stands: left-aligned texts at u/2 from the left
// edge, right-aligned ones at u/2 from the right edge.
int CellTextX(const ListCell& cell, int u);

// --- Series boxes and tables ---

struct SeriesBox {
    bool tall = false;
    Rect box;
    Rect picture;     // inset by u from the picture part
    Rect table;
    Point centre;     // of the picture
    int size = 0;     // the smaller side of the picture
};
SeriesBox SplitBox(const Rect& box, int u);

struct SeriesTable {
    bool tall = false;
    int rowHeight = 0;
    int columnWidth = 0;
    std::vector<Rect> thinFrames;  // frames drawn with the thin pen and again with the normal one
    Rect sum;
    Rect total;
    // Cell of shot i (from 0; at most 10 shots are listed).
    Rect ShotCell(int i) const;
    Rect area;
    int u = 10;
};
// counted: the number of shots the series lists.
SeriesTable TableOf(const SeriesBox& box, int counted, int u);
// The text a table's font is sized by.
std::string_view TableSample(bool showTimes);
// The largest point size from 24 down that makes the sample fit in
// maxWidth x maxHeight (strictly inside); 0 when none does. measure gives
// the sample's width and height at a point size.
int FitPoints(const std::function<Point(int points)>& measure, int maxWidth, int maxHeight);

// Places of a shot row's texts: the label's right edge, the value's split
// point, and the bottom line of both given the height of "X".
struct ShotRowPlaces {
    int labelRight = 0;
    int valueX = 0;
    int baseline = 0;
};
ShotRowPlaces ShotRow(const Rect& cell, int xHeight);
// The direction arrow of a shot at (x, y) mm; no strokes for a shot at the
// centre or beyond 1500 x scale. Three strokes: shaft, then the two barbs.
std::vector<Segment> Arrow(const Rect& cell, double x, double y, double scale, int u);

}  // namespace CardLayout
