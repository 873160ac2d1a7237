#include "results/exchange/SeriesLists.h"

#include "results/values/ValueSystems.h"

#include <algorithm>
#include <cstdint>

namespace results {
namespace {

// A whole decimal number with an optional sign; false for anything else or
// a number too long to matter.
bool WholeNumber(std::string_view token, long& value)
{
    size_t at = 0;
    bool negative = false;
    if (at < token.size() && (token[at] == '-' || token[at] == '+'))
        negative = token[at++] == '-';
    if (at == token.size() || token.size() - at > 9)
        return false;
    long n = 0;
    for (; at < token.size(); ++at) {
        if (token[at] < '0' || token[at] > '9')
            return false;
        n = n * 10 + (token[at] - '0');
    }
    value = negative ? -n : n;
    return true;
}

int16_t Coordinate(const std::vector<std::string_view>& items, int m, char list, std::vector<ListFault>& faults)
{
    if (m > static_cast<int>(items.size()))
        return 0;
    std::string_view token = items[static_cast<size_t>(m) - 1];
    long value;
    if (!WholeNumber(token, value) || value < INT16_MIN || value > INT16_MAX) {
        faults.push_back({list, m, std::string(token)});
        return 0;
    }
    return static_cast<int16_t>(value);
}

}  // namespace

std::vector<std::string_view> SplitList(std::string_view list)
{
    std::vector<std::string_view> items;
    size_t at = 0;
    while (at < list.size()) {
        while (at < list.size() && (list[at] == ' ' || list[at] == '\t'))
            ++at;
        size_t end = at;
        while (end < list.size() && list[end] != ' ' && list[end] != '\t')
            ++end;
        if (end > at)
            items.push_back(list.substr(at, end - at));
        at = end;
    }
    return items;
}

SeriesFromLists ReadSeriesLists(int series, int count, std::string_view ser, std::string_view x, std::string_view y,
                                std::string_view t)
{
    SeriesFromLists out;
    count = std::clamp(count, 0, kMaxSeriesShots);
    const auto values = SplitList(ser);
    const auto xs = SplitList(x);
    const auto ys = SplitList(y);
    const auto ts = SplitList(t);
    out.given = static_cast<int>(values.size());
    for (int m = 1; m <= count; ++m) {
        ShotEntry e{static_cast<uint8_t>(series), static_cast<uint8_t>(m), values::kNoShot, 0, 0, 0};
        if (m <= static_cast<int>(values.size())) {
            std::string_view token = values[static_cast<size_t>(m) - 1];
            long value;
            if (WholeNumber(token, value) && value >= 0 && value <= 255)
                e.value = static_cast<uint8_t>(value);
            else
                out.faults.push_back({'S', m, std::string(token)});
            e.x = Coordinate(xs, m, 'X', out.faults);
            e.y = Coordinate(ys, m, 'Y', out.faults);
            e.time = Coordinate(ts, m, 'T', out.faults);
        }
        out.shots.push_back(e);
    }
    return out;
}

}  // namespace results
