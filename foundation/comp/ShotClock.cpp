#include "foundation/comp/ShotClock.h"

#include "platform/system/Clock.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace {
const char kEmptyText[] = " :  ";

int ClampToInt(int64_t v) { return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v)); }
}  // namespace

CShotClock::CShotClock() { ResetStoredText(); }

int64_t CShotClock::Now() { return platform::MonotonicUs() * 10; }

void CShotClock::Set(int periodSeconds, int extraSeconds, int16_t mode)
{
    m_setPeriod = periodSeconds;
    m_setExtra = extraSeconds;
    m_setMode = mode;
}

void CShotClock::TakeSetValues()
{
    m_period = int64_t{m_setPeriod} * kUnit;
    m_extraPeriod = int64_t{m_setExtra} * kUnit;
    m_runningMode = m_setMode;
}

void CShotClock::Start()
{
    TakeSetValues();
    m_startTime = Now();
    m_startTick = platform::TickCount();
    m_started = true;
    m_state = kInPeriod;
}

void CShotClock::Stop()
{
    TakeSetValues();
    m_startTime = Now();
    m_state = kStopped;
}

void CShotClock::Toggle()
{
    if (IsRunning())
        Stop();
    else
        Start();
}

int CShotClock::GetPeriodTenths() const { return ClampToInt(int64_t{m_setPeriod} * 10); }
int CShotClock::GetExtraTenths() const { return ClampToInt(int64_t{m_setExtra} * 10); }

unsigned CShotClock::GetElapsedTenths() const
{
    if (!m_started)
        return 0;
    // Unsigned 32-bit difference: the tick's wrap after 49 days is harmless.
    return (platform::TickCount() - m_startTick) / 100;
}

int CShotClock::FormatTime(char* text)
{
    int64_t value = 0;
    if (m_state != kStopped) {
        int64_t now = Now();
        if (m_state == kInPeriod) {
            if (now < m_startTime + m_period)
                value = m_startTime + m_period - now + kCeiling;  // seconds left, taken up
            else
                m_state = kPastPeriod;
        }
        if (m_state == kPastPeriod) {
            if (m_runningMode == 2)  // what is left of the extra period
                value = m_startTime + m_period + m_extraPeriod - now + kCeiling;
            else  // the overtime
                value = now - (m_startTime + m_period);
        }
        // A mode 2 clock stops itself a whole second after its text reached 0:00.
        if (value / kUnit < 0) {
            m_state = kStopped;
            m_period = int64_t{m_setPeriod} * kUnit;
            value = 0;
        }
    }
    FormatTenths(ClampToInt(value / (kUnit / 10)), text);
    return std::strncmp(text, m_storedText, kTextSize) != 0;
}

char* CShotClock::FormatTenths(int tenths, char* text)
{
    int seconds = tenths / 10;
    if (tenths < 36000)
        std::snprintf(text, kTextSize, "%d:%02d", seconds / 60, seconds % 60);
    else
        std::snprintf(text, kTextSize, "%d:%02d:%02d", seconds / 3600, (seconds / 60) % 60, seconds % 60);
    return text;
}

void CShotClock::SetStoredText(const char* text)
{
    std::memset(m_storedText, 0, sizeof m_storedText);
    if (text)
        std::strncpy(m_storedText, text, sizeof m_storedText - 1);
}

void CShotClock::ResetStoredText() { SetStoredText(kEmptyText); }
