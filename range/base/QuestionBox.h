#pragma once
// The frame's question box, as the range's logic and the tick see it: the
// start-up question while the targets report whether they fit the
// competition, the exit question, and the exit countdown after it, during
// which the targets go to the practice competition. The targets' lane states
// answer it, the tick moves its countdown; the frame shows it.
#include "range/base/LaneTable.h"

class TickCounters;

enum class AskState { None, Startup, Exit, ExitCountdown };

class QuestionBox {
public:
    virtual ~QuestionBox() = default;

    // The question open now.
    virtual AskState Asking() const = 0;
    // Opens a question; the first tick opens the start-up question.
    virtual void Ask(AskState type) = 0;
    virtual void CloseAsk() = 0;
    // The targets have answered or the countdown ran out: the start-up
    // question asks the officer when a target does not fit, the exit
    // countdown closes the program.
    virtual void OnAskCountdown() = 0;
    // The tick, while the countdown runs (the bar moves) and when it ends;
    // false when the end closed the program.
    virtual void AskProgress() = 0;
    virtual bool AskCountdownEnd() = 0;
};

// After a lane's state came in (the lane's startupDifference set): the
// question closes when every active lane fits, the exit countdown ends on the
// next tick once no lane is still waiting, and with allAnswered the start-up
// question asks at once when none is waiting but some does not fit.
void FollowLaneAnswers(const LaneTable& lanes, QuestionBox& question, TickCounters& tick, bool allAnswered);

// Ticks (200 ms) the start-up question waits for the targets' lane states.
// After the start-up mode and the reset every unit reports once, one after
// the other on its bus, so the wait follows the busiest line: about 150 ms a
// unit at 9600 baud (a poll, the confirmation and the lane state with their
// acknowledgements), twice that at 4800, and a second to spare; never less
// than the fixed wait (15 ticks, 45 with an outside range system). The
// question still comes as soon as every lane has answered.
int StartupWaitTicks(int unitsOnBusiestLine, bool slowLine, bool outside);
// The same for the range's open serial and USB channels and active lanes.
int StartupWaitTicks(const PortTable& ports, const LaneTable& lanes, bool outside);
