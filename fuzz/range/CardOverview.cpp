// Any card as an overview for the monitor: every part is a whole command that
// fits its record, and the parts together carry each counted line once.
#include "fuzz/FuzzScratch.h"
#include "range/lanes/Commands.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 29)
        return 0;
    CardOverviewCmd c;
    c.lane = 7;
    for (int s = 1; s <= 28; ++s)
        c.seriesShots[s] = data[s] % 40;
    c.startScore = data[0] * 1000;
    for (size_t i = 29; i + 6 <= size && c.shots.size() < 250; i += 6) {
        CardOverviewCmd::Shot shot;
        shot.flags = static_cast<uint16_t>(data[i] | (data[i + 1] & 0x08) << 8);
        shot.series = data[i + 2];
        shot.countingSeries = data[i + 3];
        shot.position = data[i + 4];
        shot.countedValue = data[i + 5] * 5;
        c.shots.push_back(shot);
    }
    std::vector<LineMessage> parts = c.Build();
    fuzz::Check(!parts.empty());
    for (size_t p = 0; p < parts.size(); ++p) {
        const LineMessage& m = parts[p];
        // An entry may start at byte 64 and take three bytes.
        fuzz::Check(m.data[0] >= 9 && m.data[0] <= CardOverviewCmd::kPartEnd + 2 && m.data[3] == 'x' && m.data[4] == 7);
        fuzz::Check(m.data[5] == (p == 0 ? 1 : 2));
    }
    return 0;
}
