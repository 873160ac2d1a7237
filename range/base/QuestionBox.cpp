#include "range/base/QuestionBox.h"

#include "range/base/LaneTable.h"
#include "range/base/TickCounters.h"

#include "line/BVSerCom.h"

#include <algorithm>

void FollowLaneAnswers(const LaneTable& lanes, QuestionBox& question, TickCounters& tick, bool allAnswered)
{
    // startupDifference: 0 fits, 1 not heard yet, other bits do not fit.
    bool anyWaiting = false;
    bool anyFlag = false;
    for (int l = lanes.NextActiveLane(0); l != 0; l = lanes.NextActiveLane(l)) {
        anyWaiting |= lanes[l].startupDifference == 1;
        anyFlag |= lanes[l].startupDifference != 0;
    }
    if (question.Asking() == AskState::ExitCountdown && !anyWaiting) {
        question.CloseAsk();
        tick.askCountdown = 1;
    } else if (!anyFlag) {
        question.CloseAsk();
    } else if (allAnswered && !anyWaiting) {
        tick.askCountdown = 0;
        question.OnAskCountdown();
    }
}

int StartupWaitTicks(int unitsOnBusiestLine, bool slowLine, bool outside)
{
    constexpr int kTickMs = 200;
    constexpr int kUnitMs = 150;  // at 9600 baud
    constexpr int kSpareMs = 1000;
    const int fixed = outside ? 45 : 15;
    if (unitsOnBusiestLine <= 0)
        return fixed;
    const int busMs = unitsOnBusiestLine * kUnitMs * (slowLine ? 2 : 1) + kSpareMs;
    return std::max(fixed, (busMs + kTickMs - 1) / kTickMs);
}

int StartupWaitTicks(const PortTable& ports, const LaneTable& lanes, bool outside)
{
    int longest = 0;
    for (const PortRecord& port : ports) {
        if (!PortRecord::IsLine(port.type) || port.state != PortState::Open || !port.line)
            continue;
        int units = 0;
        for (int lane = port.firstLane; lane <= port.lastLane; ++lane)
            units += lanes.IsActive(lane);
        const bool slow = (port.line->Mode() & 0x10) != 0;
        longest = std::max(longest, StartupWaitTicks(units, slow, false));
    }
    return std::max(longest, StartupWaitTicks(0, false, outside));
}
