// The bytes a display's clock link receives, cut into reads of any size:
// every split and any garbage leaves the event's clock values either as they
// were or as the newest whole message says, and never keeps more than its
// limit of an unfinished text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "display/loop/DisplayClock.h"
#include "display/model/VisEvent.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CVisEvent event(1);
    uint32_t now = 1000;
    size_t at = 0;
    // The first byte of each read tells how many buffers it hands out, each
    // buffer's first byte its length; the rest is the received bytes.
    while (at < size) {
        const int buffers = data[at++] % 4 + 1;
        std::vector<std::vector<uint8_t>> newestFirst;
        for (int b = 0; b < buffers && at < size; ++b) {
            const size_t n = std::min<size_t>(data[at++], size - at);
            std::vector<uint8_t> buffer{static_cast<uint8_t>(n)};
            buffer.insert(buffer.end(), data + at, data + at + n);
            buffer.push_back(0);
            at += n;
            newestFirst.insert(newestFirst.begin(), std::move(buffer));
        }
        DisplayClock::Receive(event, newestFirst, now);
        if (event.clockPending.size() > DisplayClock::kMostPending)
            std::abort();
        (void)DisplayClock::Text(event, now);
        now += 100;
    }
    return 0;
}
