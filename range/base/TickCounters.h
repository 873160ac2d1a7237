#pragma once
// The counters and countdowns of the range control's tick. The tick runs
// every 200 ms (TickSchedule) and reads here which periodic work is due; the
// parts of the range control move that work through the operations below: a
// message from a line puts the file check off until the lines are quiet, a
// stored shot brings the file touch forward, a command starts a countdown.
// Countdowns are in ticks and do nothing while 0.
#include <cstdint>

class TickCounters {
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

    // A message came in from a line: the file check waits for the lines to
    // be quiet again.
    void MessageCame() { m_quietTicks = 0; }
    // The file check's and the reload's periods start over, as when the
    // window has just come up.
    void RestartPeriods()
    {
        m_quietTicks = 0;
        m_sinceReload = 0;
    }
    // Ticks since the last message from a line.
    int QuietTicks() const { return m_quietTicks; }

    int askCountdown = 0;    // the question box
    int resendCountdown = 0; // the mode repeats
    int sumsCountdown = 0;   // the twin lane's next sum
    int fileTouchCountdown = kFileTouchTicks;
    int clockCountdown = 0;  // 0 until the clock message went out once
    int statusCountdown = 0; // the warning text of the status bar

protected:
    // A tick began.
    void CountTick()
    {
        ++m_quietTicks;
        ++m_sinceReload;
    }
    // The reload of the range configuration and the shot lists is due; its
    // period starts over.
    bool ReloadDue() { return Due(m_sinceReload, kReloadTicks); }
    // The lines were quiet long enough for the file check; the quiet is
    // counted anew.
    bool FileCheckDue() { return Due(m_quietTicks, kFileCheckTicks); }

private:
    static bool Due(uint16_t& ticks, int period)
    {
        if (ticks < period)
            return false;
        ticks = 0;
        return true;
    }

    uint16_t m_quietTicks = 0;
    uint16_t m_sinceReload = 0;
};
