// Any bytes as the four shot lists of one series of a range control's
// result file (Ser, X, Y, T, separated by line ends), the first byte the
// series' shot count. The series always has its shots, no more; a value is a
// shot only as a whole number 0..255, and every token refused is named.
#include "fuzz/FuzzScratch.h"
#include "results/exchange/SeriesLists.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace results;
    using fuzz::Check;
    if (size == 0)
        return 0;
    const int count = data[0] % 14 - 1;  // -1 .. 12
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string_view> lists;
    while (lists.size() < 3) {
        size_t end = rest.find('\n');
        if (end == std::string_view::npos)
            break;
        lists.push_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }
    lists.push_back(rest);
    lists.resize(4);
    SeriesFromLists s = ReadSeriesLists(5, count, lists[0], lists[1], lists[2], lists[3]);
    const int expected = count < 0 ? 0 : count > 10 ? 10 : count;
    Check(static_cast<int>(s.shots.size()) == expected);
    Check(s.given == static_cast<int>(SplitList(lists[0]).size()));
    for (size_t i = 0; i < s.shots.size(); ++i) {
        const ShotEntry& e = s.shots[i];
        Check(e.series == 5 && e.shot == i + 1);
        if (static_cast<int>(i) >= s.given)
            Check(e.value == 255 && e.x == 0 && e.y == 0 && e.time == 0);
    }
    for (const ListFault& f : s.faults) {
        Check(f.shot >= 1 && f.shot <= expected && !f.token.empty());
        Check(f.token.find_first_of(" \t") == std::string::npos);
    }
    return 0;
}
