#pragma once
// The range control's tick. There is no worker thread of the range control's
// own: one timer on the user-interface thread runs every 200 ms and does, in
// a fixed order, everything that happens without the officer's input. This
// class holds the tick's counters and countdowns and decides, tick by tick,
// which work runs; the frame does the work (TickWork). Countdowns are in
// ticks and do nothing while 0; other parts of the frame set them (a stored
// shot brings the file touch forward, the clock command starts the clock
// message, a status text asks to be cleared).
#include <cstdint>

// The work the tick asks of the frame, in the order the tick asks for it.
class TickWork {
public:
    virtual ~TickWork() = default;

    // Timer 1 of the frame: fires once after the time given.
    virtual void ArmTimer(int milliseconds) = 0;
    virtual void KillTimer() = 0;

    // The start-up on the first tick: opens the competition and the lines;
    // the competition number opened, or -1.
    virtual int Startup() = 0;
    // The mode command 48 to every line, then the reset of every lane.
    virtual void SendStartupMode() = 0;
    virtual void ResetAllLanes() = 0;
    // Opens the start-up question.
    virtual void AskStartup() = 0;
    // The competition now open: -1 none, 0 the practice competition.
    virtual int Competition() = 0;
    // Closes the program without a question.
    virtual void CloseWithoutQuestion() = 0;

    // The line monitor shows what it collected, while it is shown.
    virtual void ShowMonitorFrames() = 0;
    // The question box while its countdown runs, and at its end. AskCountdownEnd
    // is false when the program is being closed by it.
    virtual void AskProgress() = 0;
    virtual bool AskCountdownEnd() = 0;

    // The mode command again to every lane that has not confirmed it; true
    // when some lane was sent to.
    virtual bool RepeatModes() = 0;
    // Per active lane: the shot timers, the requests for missing shots and
    // the card summary.
    virtual void LaneWork() = 0;
    virtual void RefreshPanel() = 0;
    virtual void DispatchMessages() = 0;
    virtual void PollOutsideSystem() = 0;
    virtual void SimulationStep() = 0;
    // Re-reads the range configuration when its file changed.
    virtual void ReloadRangeConfig() = 0;
    // Bit 0: some lane's row changed; bit 7: the lanes or a shared file changed.
    virtual int CheckFiles(bool force) = 0;
    virtual int ReloadShots(bool force) = 0;
    virtual void RefreshViews() = 0;
    virtual void RefreshChangedRows() = 0;
    virtual void RefreshCardDialog() = 0;
    virtual void SendSums() = 0;
    virtual void TouchFiles() = 0;
    virtual void SendClock() = 0;
    virtual void ClearStatusText() = 0;
};

class TickSchedule {
public:
    // Timer periods in milliseconds.
    static constexpr int kFirstTickMs = 100;
    static constexpr int kTickMs = 200;

    // Ticks of the periodic work.
    static constexpr int kModeRepeatTicks = 15;   // 3 s
    static constexpr int kFileTouchTicks = 25;    // 5 s
    static constexpr int kShotTouchTicks = 10;    // 2 s after a stored shot
    static constexpr int kClockTicks = 25;        // 5 s
    static constexpr int kReloadTicks = 10;       // 2 s
    static constexpr int kFileCheckTicks = 20;    // 4 s of quiet on the lines

    // The frame's start state.
    enum class StartState { Created, FirstFocus, Running, Production };

    // Arms the first tick when the frame first gets the focus; false when it
    // was armed before.
    bool ArmFirstTick(TickWork& work);

    // One tick of timer 1.
    void OnTick(TickWork& work);

    StartState startState = StartState::Created;
    uint16_t counterA = 0;   // ticks since a message came in: the file check waits for quiet
    uint16_t counterB = 0;   // ticks since the last reload
    int askCountdown = 0;    // the question box
    bool pause = false;      // the lane work waits while a long command runs
    int resendCountdown = 0; // the mode repeats
    int sumsCountdown = 0;   // the twin lane's next sum
    int fileTouchCountdown = kFileTouchTicks;
    int clockCountdown = 0;  // 0 until the clock message went out once
    int statusCountdown = 0; // the warning text of the status bar
};
