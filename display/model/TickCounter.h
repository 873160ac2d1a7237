#pragma once
// One counter of display ticks: the loop's intervals (settings, names, shots,
// picture time, blink) are each a count of 100 ms ticks.
class CTickCounter {
public:
    virtual ~CTickCounter() = default;

    // Sets limit, reload and direction; the value stays.
    void Init(int limit, bool autoReload, bool countUp)
    {
        m_limit = limit;
        m_autoReload = autoReload;
        m_countUp = countUp;
    }
    void Reset() { m_value = m_countUp ? 0 : m_limit; }
    void Step()
    {
        if (m_countUp) {
            if (m_value < m_limit)
                ++m_value;
        } else if (m_value > 0) {
            --m_value;
        }
    }
    // Whether the counter reached its end (after a step, when asked); with
    // reload (and auto-reload on) it then starts again. A negative value
    // never elapses.
    bool Elapsed(bool step, bool reload)
    {
        if (m_value < 0)
            return false;
        if (step)
            Step();
        if (m_countUp ? m_value < m_limit : m_value > 0)
            return false;
        if (reload && m_autoReload)
            Reset();
        return true;
    }
    int Get() const { return m_value; }
    int GetLimit() const { return m_limit; }
    void Set(int value) { m_value = value; }

private:
    bool m_countUp = true;
    int m_limit = 1;
    int m_value = 0;
    bool m_autoReload = true;
};
