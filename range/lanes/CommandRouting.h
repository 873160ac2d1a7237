#pragma once
// The way a command takes to the targets: to one lane, to every lane that
// takes part, or once to every open line as a message to all units. The
// routing only decides; LaneCommands sends the copies and marks the lanes.
#include "range/base/LaneTable.h"

#include <cstdint>
#include <vector>

// Where SendCommand puts the copies of a command.
struct Delivery {
    int channel = 0;
    int lane = 0;  // 0: as a message to all units of the line
};

struct Routing {
    std::vector<Delivery> deliveries;
    std::vector<int> noLine;  // lanes whose channel has no open line
    int result = 0;           // the lane sent to (the last one for every lane), or 0
};

// The copies of a command for the routing flags of SendCommand (every lane
// 0x40, every line 0x20, even a disabled lane 0x10); marking and simulation
// are the caller's.
Routing RouteCommand(int lane, uint8_t flags, const LaneTable& lanes, const PortTable& ports);
