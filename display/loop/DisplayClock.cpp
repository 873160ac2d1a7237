#include "display/loop/DisplayClock.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "display/model/VisEvent.h"
#include "foundation/exchange/ClockMessage.h"

namespace DisplayClock {

int64_t ShownTenths(int mode, int period, int extra, uint32_t elapsedTenths)
{
    if (mode == 0)
        return 0;
    const int64_t e = elapsedTenths;
    if (e < period)
        return period - e + 9;  // the rest of the period, up to the whole second
    if (extra > 0) {
        int64_t t = static_cast<int64_t>(extra) + period - e + (mode == 2 ? 9 : 0);
        return t < 0 ? 0 : t;
    }
    if (extra == 0)
        return e - period;  // counting up past the period
    return -1;
}

std::string Format(int64_t t)
{
    char text[40];
    if (t >= 36000)
        std::snprintf(text, sizeof text, "%2" PRId64 ":%02" PRId64 ":%02" PRId64, t / 36000, t % 36000 / 600,
                      t % 36000 % 600 / 10);
    else if (t >= 0)
        std::snprintf(text, sizeof text, "%2" PRId64 ":%02" PRId64, t / 600, t % 600 / 10);
    else
        text[0] = 0;
    return text;
}

std::string Text(const CVisEvent& event, uint32_t now)
{
    // Unsigned, so a tick count that wrapped since the start still counts on.
    const uint32_t elapsed = (now - event.clockStartTick) / 100;
    return Format(ShownTenths(event.clockMode, event.clockPeriod, event.clockExtra, elapsed));
}

std::string Receive(CVisEvent& event, const std::vector<std::vector<uint8_t>>& newestFirst, uint32_t now)
{
    std::string& pending = event.clockPending;
    for (auto it = newestFirst.rbegin(); it != newestFirst.rend(); ++it) {
        const std::vector<uint8_t>& buffer = *it;
        if (buffer.empty())
            continue;
        const size_t count = std::min<size_t>(buffer[0], buffer.size() - 1);
        pending.append(reinterpret_cast<const char*>(buffer.data() + 1), count);
    }
    std::string applied;
    ClockMessage newest;
    size_t start = 0;
    for (size_t end; (end = pending.find('\0', start)) != std::string::npos; start = end + 1) {
        ClockMessage m;
        std::string text = pending.substr(start, end - start);
        if (ClockMessage::Parse(text, m)) {
            newest = m;
            applied = std::move(text);
        }
    }
    pending.erase(0, start);
    if (pending.size() > kMostPending)
        pending.clear();
    if (!applied.empty()) {
        event.clockMode = newest.mode;
        event.clockPeriod = newest.period;
        event.clockExtra = newest.extra;
        event.clockStartTick = now - static_cast<uint32_t>(newest.elapsed) * 100u;
    }
    return applied;
}

}  // namespace DisplayClock
