#pragma once
// The super-final mark of a shot (flag 0x400), set by the range officer from
// the lane list: on one shot of a lane's current series, or on the lowest
// shot of a column among all lanes.
#include <vector>

struct RangeObjects;
class FrameServices;
class LaneRecords;
class LaneCards;

class ShotFlags {
public:
    enum Mode { kClear = 0, kSet = 1, kToggle = 2 };

    ShotFlags(RangeObjects& objects, FrameServices& services, LaneRecords& records, LaneCards& cards);

    // The index into a lane's display order of a shot column: the columns
    // show the last row of ten of the series' `count` counted shots.
    static int DisplayIndex(int position, int count);

    // Sets, clears or toggles the mark of the shot shown at position 0..9 of
    // the lane's current row of ten; a position without a shot value is left
    // alone. The card's shots are written back and the row redrawn.
    void ToggleShotFlag(int lane, int position, int mode);

    // Of the lanes given, the one whose shot at position 0..9 counts lowest;
    // 0 when the lowest is shared (or there is no lane). A cell without a
    // shot counts as more than any shot.
    int LowestShotLane(const std::vector<int>& lanes, int position);

private:
    RangeObjects& m_obj;
    FrameServices& m_services;
    LaneRecords& m_records;
    LaneCards& m_cards;
};
