// Messages of the outside range system, as its library hands them over,
// through the decoding of an event: only the bytes the message holds are
// read, coordinates come out finite and within a metre, and the raw copy is
// the message's first bytes.
//
// Input: the message (the library's buffer holds at most 256 bytes).
#include "fuzz/FuzzScratch.h"
#include "line/outside/OutsideEvent.h"

#include <cmath>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 256)
        size = 256;
    // An exact copy, so that reading past its end is seen.
    std::vector<uint8_t> message(data, data + size);
    OutsideEvent event;
    event.lane = 7;
    int rc = event.Decode(message.data(), message.size());
    fuzz::Check(rc == 0 || rc == 99);
    fuzz::Check(event.length == static_cast<int32_t>(size));
    fuzz::Check(std::isfinite(event.x) && std::isfinite(event.y));
    fuzz::Check(std::fabs(event.x) <= OutsideEvent::kLimitMm && std::fabs(event.y) <= OutsideEvent::kLimitMm);
    if (size > 0)
        fuzz::Check(std::memcmp(event.raw, message.data(), size < 45 ? size : 45) == 0);
    if (size < 2)
        fuzz::Check(event.code == 0);
    if (rc == 99)
        fuzz::Check(event.lane == 7 && event.number == 0 && event.kind == 0);
    return 0;
}
