#include "range/lanes/CommandRouting.h"

#include "range/lanes/Commands.h"

Routing RouteCommand(int lane, uint8_t flags, const LaneTable& lanes, const PortTable& ports)
{
    Routing r;
    if (lane < 0 || lane > LaneTable::kLastLane)
        return r;
    auto toLane = [&](int l) {
        const PortRecord& p = ports[lanes[l].channel];
        if (p.state == PortState::Open && p.line) {
            r.deliveries.push_back({lanes[l].channel, l});
            return true;
        }
        r.noLine.push_back(l);
        return false;
    };

    if (flags & Cmd::kEveryLine) {
        int first = 0;
        int last = static_cast<int>(ports.size()) - 1;
        if (lane != 0) {
            if (lanes[lane].channelType == 0)
                return r;
            first = last = lanes[lane].channel;
        }
        for (int k = first; k <= last; ++k)
            if (ports[k].state == PortState::Open && ports[k].line)
                r.deliveries.push_back({k, 0});
        return r;
    }
    if (flags & Cmd::kEveryLane) {
        for (int l = LaneTable::kFirstLane; l <= LaneTable::kLastLane; ++l)
            if (PortRecord::IsLine(lanes[l].channelType) && lanes[l].enabled && toLane(l))
                r.result = l;
        return r;
    }
    if (lane == 0 || !PortRecord::IsLine(lanes[lane].channelType))
        return r;
    if (!lanes[lane].enabled && !(flags & Cmd::kEvenDisabled))
        return r;
    if (toLane(lane))
        r.result = lane;
    return r;
}
