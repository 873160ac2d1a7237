#include "range/base/QuestionBox.h"

#include "range/base/LaneTable.h"
#include "range/base/TickCounters.h"

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
