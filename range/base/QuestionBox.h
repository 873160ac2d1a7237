#pragma once
// The frame's question box, as the range's logic and the tick see it: the
// start-up question while the targets report whether they fit the
// competition, the exit question, and the exit countdown after it, during
// which the targets go to the practice competition. The targets' lane states
// answer it, the tick moves its countdown; the frame shows it.
class LaneTable;
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
