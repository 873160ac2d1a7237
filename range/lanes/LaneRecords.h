#pragma once
// The lanes' records on file: the active record through which the display
// and remote programs follow each lane, the gaps of a lane's shot list, and
// the card overview sent to the lane's monitor.
#include "foundation/files/BVLog.h"

#include <cstdint>

struct RangeObjects;
class LaneCommands;

class LaneRecords {
public:
    LaneRecords(RangeObjects& objects, LaneCommands& commands);

    // Writes the lane's series into its active record; lane 0 clears the
    // record of the final marking.
    void WriteActive(int lane, uint8_t series);
    // Marks the gaps of the lane's shots up to the count its target holds,
    // on the card as stored, so they can be asked for.
    void ReloadShotRecord(int relay, int lane, int count);
    // The lane's card as we have it, for its monitor; lane 0 for every active lane.
    void SendCardOverview(int lane);

private:
    RangeObjects& m_obj;
    LaneCommands& m_commands;
    CBVLog m_log;
};
