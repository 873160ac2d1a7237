#pragma once
// The shooting-time clock of the range control: counts down the shooting time
// of the selected series, then either counts the overtime up (mode 1) or
// counts down an extra period and stops by itself (mode 2). The control panel
// draws its text on every tick; the mode command to the targets and the clock
// message to the displays read its settings.
//
// Times run on the monotonic clock of platform/system/Clock.h, so setting the
// computer's clock during a series does not move a running countdown.
#include <cstdint>

class CShotClock {
public:
    static constexpr int kTextSize = 32;

    CShotClock();
    virtual ~CShotClock() = default;

    // Period and extra period in seconds and the mode (1 or 2) for the next
    // Start or Stop; a running clock goes on with the values it started with.
    void Set(int periodSeconds, int extraSeconds, int16_t mode);
    void Start();
    void Stop();
    void Toggle();
    bool IsRunning() const { return m_state != kStopped; }

    // The set values, as the mode command and the clock message send them.
    int GetPeriodTenths() const;
    int GetExtraTenths() const;
    int GetSetPeriod() const { return m_setPeriod; }
    int GetSetExtra() const { return m_setExtra; }
    int16_t GetSetMode() const { return m_setMode; }
    // Mode taken at the last Start or Stop.
    int GetRunningMode() const { return m_runningMode; }
    // Tenths of a second since the last Start (also while stopped); 0 before
    // the clock was ever started.
    unsigned GetElapsedTenths() const;

    // Writes the clock's current time into text (kTextSize bytes) and returns
    // non-zero when it differs from the stored text, i.e. when the panel must
    // draw it. May find the period over, or stop a mode 2 clock.
    int FormatTime(char* text);
    static char* FormatTenths(int tenths, char* text);

    // The text the panel drew last. The panel stores it after drawing and
    // resets it to " :  " whenever it must draw again.
    const char* GetStoredText() const { return m_storedText; }
    void SetStoredText(const char* text);
    void ResetStoredText();

private:
    enum State { kStopped = 0, kInPeriod = 1, kPastPeriod = 2 };

    static int64_t Now();  // monotonic, in 100 ns units
    void TakeSetValues();

    static constexpr int64_t kUnit = 10'000'000;  // one second in 100 ns units
    static constexpr int64_t kCeiling = kUnit - 1;  // rounds a count-down up to the whole second

    int64_t m_startTime = 0;
    int64_t m_period = 15 * kUnit;
    int64_t m_extraPeriod = 0;
    char m_storedText[kTextSize];
    int m_state = kStopped;
    int m_runningMode = 1;
    int m_setPeriod = 15;
    int m_setExtra = 0;
    int16_t m_setMode = 1;
    uint32_t m_startTick = 0;
    bool m_started = false;  // whether any Start has set m_startTick
};
