// Any bytes as a Q-NET line file; the first bytes choose the event's series
// (how many, their shots and value systems, the hit layout). Every shot a
// line gives lies in a series the event has, at a shot it has, and enters
// as a card value.
#include "fuzz/FuzzScratch.h"
#include "results/exchange/LineFormats.h"
#include "results/values/ValueSystems.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace results;
    using fuzz::Check;
    if (size < 2)
        return 0;
    QnetLayout layout;
    layout.hitSeries = data[0] & 0x80;
    const int series = data[0] % 9 + 1;
    size_t at = 1;
    for (int s = 0; s < series && at < size; ++s, ++at) {
        layout.shots.push_back(data[at] % 12);  // beyond ten too: an event may have more
        layout.types.push_back((data[at] >> 4) % values::kTypeCount);
    }
    while (static_cast<int>(layout.types.size()) < static_cast<int>(layout.shots.size()))
        layout.types.push_back(0);
    std::string_view bytes(reinterpret_cast<const char*>(data) + at, size - at);
    const int count = static_cast<int>(layout.shots.size());
    for (std::string_view text : SplitQnetLines(bytes)) {
        Check(!text.empty() && text.find_first_of("\r\n") == std::string_view::npos);
        QnetLine line;
        if (!ReadQnetLine(text, layout, line))
            continue;
        Check(text.size() > 4 && line.target >= 0 && line.target <= 99);
        Check(line.seriesRead <= count);
        for (const QnetShot& shot : line.shots) {
            Check(shot.series >= 1 && shot.series <= count);
            const bool lastValue = layout.hitSeries && shot.series == count;
            if (lastValue)
                Check(shot.shot == 1);
            else if (layout.hitSeries)
                Check(shot.shot == 1 || shot.shot == 3);  // hits and inner hits
            else
                Check(shot.shot >= 1 && shot.shot <= layout.shots[shot.series - 1]);
            Check(shot.text.size() <= (lastValue ? 2u : 1u));
            const values::Entry e = values::EnterShot(shot.text, layout.types[shot.series - 1], 0);
            Check(e.value >= 0 && e.value <= 255 && e.hundredths >= 0 && e.hundredths <= 99);
        }
    }
    return 0;
}
