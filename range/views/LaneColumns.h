#pragma once
// The columns of the lane list. Each column shows one thing about a lane,
// named by a code; a view is the list of codes from left to right. The
// first four columns (lane, relay, series, shots) are the same in every
// view; the six views add their own from position 4 on. The widths are
// measured by the window with its font; everything else is decided here.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CLanguageTable;
class CTargetTypes;

namespace LaneColumns {

enum Code : uint8_t {
    kShot1 = 1,         // 1..10: shot n of the row of ten shown
    kShot10 = 10,
    kName = 20,
    kClub = 21,
    kClass = 22,
    kCategory = 23,
    kSeriesSum = 30,
    kTotal = 31,
    kPlace = 32,        // a blank in the view's codes: the list shows places
    kProgram = 40,
    kTargetType = 41,
    kSensitivity = 42,
    kBand = 43,
    kLiftProne = 51,    // '3'
    kLiftKneel = 52,    // '4'
    kLiftStand = 53,    // '5'
    kStatusText = 55,
    kLane = 90,
    kRelay = 91,
    kShots = 92,
    kSeriesName = 93,
};

// The views: 1 roll call, 2 program, 3 shots, 4 sums, 5 lift, 6 custom.
inline constexpr int kFirstView = 1;
inline constexpr int kLastView = 6;
inline constexpr int kFixedColumns = 4;
// Width of the lane column, which holds the status picture and the number.
inline constexpr int kLaneWidth = 39;

inline bool IsShot(int code) { return code >= kShot1 && code <= kShot10; }
inline bool IsLift(int code) { return code >= kLiftProne && code <= kLiftStand; }

// The codes of a view, position by position. The custom view shows at
// position 4 whatever the view shown before had there.
std::vector<uint8_t> ViewCodes(int view, uint8_t previousAtFour);

// Whether the list shows the place column, at position 4 or later.
bool ShowsPlace(const std::vector<uint8_t>& codes);

// A column as its header and its width sample make it.
struct Column {
    uint8_t code = 0;
    std::string header;  // Windows-1252; empty: the column has no width
    std::string sample;  // the widest text the column is made for
    bool right = false;  // right-aligned
};

// What a column's header and sample depend on besides its code.
struct ColumnContext {
    CLanguageTable* language = nullptr;
    const CTargetTypes* types = nullptr;
    bool startNumbers = false;  // column 1 heads the start number
    bool motor = true;          // the range has band motors: the band column is shown
};

Column ColumnOf(uint8_t code, const ColumnContext& context);

// The width of a column from its texts' widths in the list's font: the
// wider of the header + 12 and the sample + 3; 0 for an empty header; the
// lane column is fixed.
int ColumnWidth(const Column& column, const std::function<int(std::string_view)>& textWidth);

}  // namespace LaneColumns
