// The tick: the order of its steps and the periods of its countdowns, on a
// timer driven by a hand-moved clock.
#include "range/run/TickSchedule.h"

#include "range/base/QuestionBox.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// Records every step the tick asks for, with the time it was asked, and plays
// the frame's side where a step sets a countdown again.
class RecordingWork : public TickLogic, public TickWindow, public QuestionBox {
public:
    explicit RecordingWork(TickSchedule& tick) : m_tick(tick) {}

    // The timer on the hand-moved clock.
    uint32_t now = 0;
    bool armed = false;
    uint32_t due = 0;

    std::vector<std::string> steps;
    std::map<std::string, std::vector<uint32_t>> times;

    int competition = 1;
    int startupResult = 1;
    int lanesPending = 0;  // lanes still waiting for their mode confirmation
    int checkResult = 0;
    bool askEndGoesOn = true;
    bool messagesFlow = false;  // every tick takes a message from a line

    void ArmTimer(int ms) override
    {
        armed = true;
        due = now + static_cast<uint32_t>(ms);
        Note("ArmTimer" + std::to_string(ms));
    }
    void KillTimer() override
    {
        armed = false;
        Note("KillTimer");
    }
    int Startup() override
    {
        Note("Startup");
        return startupResult;
    }
    void SendStartupMode() override { Note("SendStartupMode"); }
    void ResetAllLanes() override { Note("ResetAllLanes"); }
    QuestionBox& Questions() override { return *this; }
    AskState Asking() const override { return AskState::None; }
    void Ask(AskState) override { Note("AskStartup"); }
    void CloseAsk() override {}
    void OnAskCountdown() override {}
    int Competition() override { return competition; }
    void CloseFrame(bool) override { Note("Close"); }
    void ShowMonitorFrames() override { Note("Monitor"); }
    void AskProgress() override { Note("AskProgress"); }
    bool AskCountdownEnd() override
    {
        Note("AskEnd");
        return askEndGoesOn;
    }
    bool RepeatModes() override
    {
        Note("RepeatModes");
        if (lanesPending == 0)
            return false;
        --lanesPending;
        return true;
    }
    void LaneWork() override { Note("LaneWork"); }
    void RefreshPanel() override { Note("Panel"); }
    void DispatchMessages() override
    {
        Note("Dispatch");
        if (messagesFlow)
            m_tick.MessageCame();
    }
    void PollOutsideSystem() override { Note("Outside"); }
    void SimulationStep() override { Note("Simulation"); }
    void ReloadRangeConfig() override { Note("ReloadConfig"); }
    int CheckFiles(bool force) override
    {
        Note(force ? "CheckFilesForced" : "CheckFiles");
        return checkResult;
    }
    int ReloadShots(bool force) override
    {
        Note(force ? "ReloadShotsForced" : "ReloadShots");
        return 0;
    }
    void RefreshViews() override { Note("Views"); }
    void RefreshChangedRows() override { Note("Rows"); }
    void RefreshCardDialog() override { Note("CardDialog"); }
    void SendSums() override { Note("Sums"); }
    void TouchFiles() override { Note("Touch"); }
    void SendClock() override
    {
        Note("Clock");
        m_tick.clockCountdown = TickSchedule::kClockTicks;
    }
    void ClearStatusText() override { Note("ClearStatus"); }

    // Moves the clock to t, running every tick that falls due on the way.
    void RunUntil(uint32_t t)
    {
        while (armed && due <= t) {
            now = due;
            m_tick.OnTick(*this, *this);
        }
        now = t;
    }

    // The steps of the last tick, from its KillTimer on.
    std::vector<std::string> LastTick() const
    {
        size_t start = 0;
        for (size_t i = 0; i < steps.size(); ++i)
            if (steps[i] == "KillTimer")
                start = i;
        return {steps.begin() + static_cast<long>(start), steps.end()};
    }

private:
    void Note(const std::string& step)
    {
        steps.push_back(step);
        times[step].push_back(now);
    }
    TickSchedule& m_tick;
};

// A frame that got its first focus at time 0: the first tick runs at 100 ms,
// then one every 200 ms (tick n at 100 + 200 (n - 1) ms).
struct Range {
    TickSchedule tick;
    RecordingWork work{tick};
    Range() { tick.ArmFirstTick(work); }
};

constexpr uint32_t TickAt(int n) { return 100 + 200 * static_cast<uint32_t>(n - 1); }

const std::vector<std::string> kRunningTick = {
    "KillTimer", "Monitor", "LaneWork", "Panel", "Dispatch", "Outside", "Simulation", "CardDialog", "ArmTimer200",
};

TEST(TickOrder, FirstTickStartsUpThenRunsAFullTick)
{
    Range r;
    EXPECT_EQ(r.work.steps, (std::vector<std::string>{"ArmTimer100"}));
    r.work.RunUntil(TickAt(1));
    std::vector<std::string> expected = {
        "KillTimer", "Startup", "SendStartupMode", "ResetAllLanes", "AskStartup", "Monitor", "LaneWork", "Panel",
        "Dispatch", "Outside", "Simulation", "CardDialog", "ArmTimer200",
    };
    EXPECT_EQ(r.work.LastTick(), expected);
    EXPECT_EQ(r.tick.startState, TickSchedule::StartState::Running);

    r.work.RunUntil(TickAt(2));
    EXPECT_EQ(r.work.LastTick(), kRunningTick);
    // The first focus arms the tick once only.
    EXPECT_FALSE(r.tick.ArmFirstTick(r.work));
}

TEST(TickOrder, EveryCountdownOnOneTickRunsInItsPlace)
{
    Range r;
    // Tick 10 is a reload tick.
    r.work.RunUntil(TickAt(9));
    r.tick.resendCountdown = 1;
    r.work.lanesPending = 1;
    r.tick.sumsCountdown = 1;
    r.tick.fileTouchCountdown = 1;
    r.tick.clockCountdown = 1;
    r.tick.statusCountdown = 1;
    r.tick.askCountdown = 1;
    r.work.RunUntil(TickAt(10));
    std::vector<std::string> expected = {
        "KillTimer", "Monitor", "AskEnd", "RepeatModes", "LaneWork", "Panel", "Dispatch", "Outside", "Simulation",
        "ReloadConfig", "ReloadShots", "Rows", "Sums", "Touch", "Clock", "ClearStatus", "ArmTimer200",
    };
    EXPECT_EQ(r.work.LastTick(), expected);
}

TEST(TickOrder, FileCheckResultChoosesTheRedraws)
{
    struct Case {
        int changed;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {0, {"CheckFiles"}},
        {1, {"CheckFiles", "ReloadShots", "Rows"}},
        {0x80, {"CheckFiles", "Views", "ReloadShots", "Rows"}},
        {0x81, {"CheckFiles", "Views", "ReloadShots", "Rows"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.changed);
        // The lines are quiet: the check falls due on tick 21 (tick 20 reloads).
        Range r;
        r.work.RunUntil(TickAt(20));
        r.work.checkResult = c.changed;
        r.work.RunUntil(TickAt(21));
        std::vector<std::string> expected = {"KillTimer", "Monitor", "LaneWork", "Panel", "Dispatch", "Outside",
                                             "Simulation"};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        expected.push_back("ArmTimer200");
        EXPECT_EQ(r.work.LastTick(), expected);
        EXPECT_EQ(r.tick.QuietTicks(), 0);
    }
}

TEST(TickOrder, TicksThatStopTheTimer)
{
    // Not started yet: nothing runs and the timer stays off.
    {
        TickSchedule tick;
        RecordingWork work(tick);
        tick.OnTick(work, work);
        EXPECT_EQ(work.steps, (std::vector<std::string>{"KillTimer"}));
        EXPECT_FALSE(work.armed);
    }
    // The start-up found no competition: the program closes on the same tick.
    {
        Range r;
        r.work.competition = -1;
        r.work.RunUntil(TickAt(5));
        EXPECT_EQ(r.work.LastTick(), (std::vector<std::string>{"KillTimer", "Startup", "SendStartupMode",
                                                                "ResetAllLanes", "AskStartup", "Close"}));
        EXPECT_FALSE(r.work.armed);
    }
    // The exit countdown ran out and closes the program.
    {
        Range r;
        r.work.RunUntil(TickAt(1));
        r.tick.askCountdown = 1;
        r.work.askEndGoesOn = false;
        r.work.RunUntil(TickAt(2));
        EXPECT_EQ(r.work.LastTick(), (std::vector<std::string>{"KillTimer", "Monitor", "AskEnd"}));
        EXPECT_FALSE(r.work.armed);
    }
}

TEST(TickOrder, PauseSkipsTheLaneWorkButNotTheTouchAndClock)
{
    Range r;
    r.work.RunUntil(TickAt(1));
    r.tick.pause = true;
    r.tick.fileTouchCountdown = 1;
    r.tick.clockCountdown = 1;
    r.tick.sumsCountdown = 1;
    r.work.RunUntil(TickAt(2));
    EXPECT_EQ(r.work.LastTick(),
              (std::vector<std::string>{"KillTimer", "Monitor", "Touch", "Clock", "ArmTimer200"}));
    EXPECT_EQ(r.tick.sumsCountdown, 1);
}

// Ticks first, first + period, ... up to last, as times.
std::vector<uint32_t> Every(int first, int period, int last)
{
    std::vector<uint32_t> times;
    for (int n = first; n <= last; n += period)
        times.push_back(TickAt(n));
    return times;
}

// When each periodic piece of work runs over the first 32 seconds. The set-up
// runs between the first and the second tick, as a command or a stored shot would.
TEST(TickPeriods, CountdownsOnTheClock)
{
    constexpr int kLastTick = 160;
    struct Case {
        const char* name;
        const char* step;
        std::function<void(Range&)> setUp;
        std::vector<uint32_t> times;
    };
    const Case cases[] = {
        // The change counters are touched every 5 s from the start.
        {"file touch", "Touch", nullptr, Every(25, 25, kLastTick)},
        // A stored shot brings the touch forward to 2 s later; then every 5 s.
        {"touch after a shot", "Touch", [](Range& r) { r.tick.fileTouchCountdown = TickSchedule::kShotTouchTicks; },
         Every(11, 25, kLastTick)},
        // The range configuration and the shots are reloaded every 2 s.
        {"reload", "ReloadConfig", nullptr, Every(10, 10, kLastTick)},
        // The file check falls due on tick 20, which is a reload tick; it runs
        // on the next one, and so every 4 s.
        {"file check", "CheckFiles", nullptr, Every(21, 20, kLastTick)},
        // Never without a command that sent the clock message once.
        {"clock silent", "Clock", nullptr, {}},
        {"clock", "Clock", [](Range& r) { r.work.SendClock(); }, Every(1, 25, kLastTick)},
        // Three lanes wait for their confirmation: a repeat every 3 s while
        // any waits, then one look that finds none, and the repeats stop.
        {"mode repeats", "RepeatModes",
         [](Range& r) {
             r.work.lanesPending = 3;
             r.tick.resendCountdown = TickSchedule::kModeRepeatTicks;
         },
         Every(16, 15, 61)},
        {"status text", "ClearStatus", [](Range& r) { r.tick.statusCountdown = 150; }, {TickAt(151)}},
        {"short status text", "ClearStatus", [](Range& r) { r.tick.statusCountdown = 25; }, {TickAt(26)}},
        {"sums", "Sums", [](Range& r) { r.tick.sumsCountdown = 15; }, {TickAt(16)}},
        // The start-up question's 15 ticks: the bar moves 14 times, then the end.
        {"question bar", "AskProgress", [](Range& r) { r.tick.askCountdown = 15; }, Every(2, 1, 15)},
        {"question end", "AskEnd", [](Range& r) { r.tick.askCountdown = 15; }, {TickAt(16)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Range r;
        r.work.RunUntil(TickAt(1));
        if (c.setUp)
            c.setUp(r);
        r.work.RunUntil(TickAt(kLastTick) + 150);
        EXPECT_EQ(r.work.times[c.step], c.times);
    }
}

TEST(TickPeriods, TrafficPutsTheFileCheckOff)
{
    Range r;
    r.work.messagesFlow = true;
    r.work.RunUntil(TickAt(100));
    EXPECT_TRUE(r.work.times["CheckFiles"].empty());
    // The reload goes on regardless.
    EXPECT_EQ(r.work.times["ReloadConfig"].size(), 10u);

    // Once the lines are quiet, the check follows 4 s later.
    r.work.messagesFlow = false;
    r.work.RunUntil(TickAt(130));
    EXPECT_EQ(r.work.times["CheckFiles"], (std::vector<uint32_t>{TickAt(121)}));
}

}  // namespace
