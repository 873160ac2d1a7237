#pragma once
// The range control's tick. There is no worker thread of the range control's
// own: one timer on the user-interface thread runs every 200 ms and does, in
// a fixed order, everything that happens without the officer's input. The
// schedule decides, tick by tick, which work runs from the counters and
// countdowns (TickCounters); the range's logic does its half of the work
// (TickLogic, served by RangeControl), the frame the window's half
// (TickWindow: its timer, the start-up, the question box, the redraws and
// the windows that follow the tick).
#include "range/base/TickCounters.h"

class QuestionBox;

// The logic's half of the tick, in the order the tick asks for it.
class TickLogic {
public:
    virtual ~TickLogic() = default;

    // The mode command 48 to every line, then the reset of every lane.
    virtual void SendStartupMode() = 0;
    virtual void ResetAllLanes() = 0;
    // The competition now open: -1 none, 0 the practice competition.
    virtual int Competition() = 0;
    // The mode command again to every lane that has not confirmed it; true
    // when some lane was sent to.
    virtual bool RepeatModes() = 0;
    // Per active lane: the shot timers, the requests for missing shots and
    // the card summary.
    virtual void LaneWork() = 0;
    virtual void DispatchMessages() = 0;
    virtual void PollOutsideSystem() = 0;
    virtual void SimulationStep() = 0;
    // Re-reads the range configuration when its file changed.
    virtual void ReloadRangeConfig() = 0;
    // Bit 0: some lane's row changed; bit 7: the lanes or a shared file changed.
    virtual int CheckFiles(bool force) = 0;
    virtual int ReloadShots(bool force) = 0;
    virtual void RefreshChangedRows() = 0;
    virtual void SendSums() = 0;
    virtual void TouchFiles() = 0;
};

// The window's half of the tick.
class TickWindow {
public:
    virtual ~TickWindow() = default;

    // Timer 1 of the frame: fires once after the time given.
    virtual void ArmTimer(int milliseconds) = 0;
    virtual void KillTimer() = 0;
    // The start-up on the first tick: opens the competition and the lines;
    // the competition number opened, or -1.
    virtual int Startup() = 0;
    // The start-up question opens after it; its countdown runs on the tick.
    virtual QuestionBox& Questions() = 0;
    // Closes the program; the tick closes it without a question.
    virtual void CloseFrame(bool noQuestion) = 0;
    // The line monitor shows what it collected, while it is shown.
    virtual void ShowMonitorFrames() = 0;
    // The panel's clock; the panel read again and the lane list rebuilt.
    virtual void RefreshPanel() = 0;
    virtual void RefreshViews() = 0;
    // An open score card follows its shots.
    virtual void RefreshCardDialog() = 0;
    // The clock message to the displays; it sets the clock's countdown again.
    virtual void SendClock() = 0;
    virtual void ClearStatusText() = 0;
};

class TickSchedule : public TickCounters {
public:
    // The frame's start state.
    enum class StartState { Created, FirstFocus, Running, Production };

    // Arms the first tick when the frame first gets the focus; false when it
    // was armed before.
    bool ArmFirstTick(TickWindow& window);

    // One tick of timer 1.
    void OnTick(TickLogic& logic, TickWindow& window);

    StartState startState = StartState::Created;
    bool pause = false;  // the lane work waits while a long command runs
};

// The lanes' periodic work waits while the competition data changes hands,
// until the command ends, however it ends.
class PauseScope {
public:
    explicit PauseScope(TickSchedule& tick) : m_tick(tick), m_was(tick.pause) { m_tick.pause = true; }
    ~PauseScope() { m_tick.pause = m_was; }
    PauseScope(const PauseScope&) = delete;
    PauseScope& operator=(const PauseScope&) = delete;

private:
    TickSchedule& m_tick;
    bool m_was;
};
