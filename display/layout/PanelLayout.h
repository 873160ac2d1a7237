#pragma once
// How one element's cell is divided into the boxes of its panel: the face,
// the name texts, the shot list, the sums, the series table and sub-sums, the
// lane and place, each with its frame sides, colours and alignment, and the
// fonts each box needs. The shape of the division follows the picture's
// first face cell or list cell, so every panel of a grid looks alike.
#include <vector>

#include "display/model/VisPicture.h"
#include "platform/system/Geometry.h"

namespace PanelLayout {

// The boxes of a panel, by role.
enum Box : int {
    kName = 1, kClub = 2, kClass = 3, kCategory = 4, kSeriesName = 5, kLane = 7, kShotCount = 8,
    kSeriesSum = 9, kTotal = 10, kPreviousTotal = 11, kPlace = 12, kSubSums = 13, kSeriesTable = 14,
    kFace = 17, kShotList = 18,
};

// A font to fit into a box for so many characters, bold as the box's options say.
struct FontRequest {
    int box;
    int chars;
};

struct Fonts {
    std::vector<FontRequest> requests;
    // The series name and shot count stand in one line: both take the
    // smaller of their two fonts.
    bool shareSeriesLine = false;
};

// What a panel leaves out: in super mode both the series sum and the total
// (their room goes to the shot list); a face whose event has one series and
// no start score needs no series sum beside its total.
struct Compact {
    bool noSeriesSum = false;
    bool noTotal = false;
    bool Both() const { return noSeriesSum && noTotal; }
};
// Takes the series sum out of the element's flags in super mode.
Compact CompactFlags(CVisTarget& t);

// Whether the element's event wants the series table: its longest series
// needs more than one line, or several series have shots.
bool SeriesTableWanted(const CVisTarget& t);

// Lays out the element's boxes in its cell (a placeholder: -1) and lists the
// fonts they need. An element whose format is none of the six keeps its
// boxes and gets -2 ("Invalid format!").
int Layout(const CVisPicture& pic, CVisTarget& t, Fonts* fonts);

}  // namespace PanelLayout
