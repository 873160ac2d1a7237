#include "line/outside/OutsideEvent.h"

#include <cmath>
#include <cstring>

namespace {

struct Reader {
    const uint8_t* m;
    size_t length;
    bool Has(size_t at, size_t width) const { return at + width <= length; }
    uint16_t U16(size_t at) const { return Has(at, 2) ? static_cast<uint16_t>(m[at] << 8 | m[at + 1]) : 0; }
    uint32_t U32(size_t at) const
    {
        return Has(at, 4) ? static_cast<uint32_t>(m[at]) << 24 | m[at + 1] << 16 | m[at + 2] << 8 | m[at + 3] : 0;
    }
    uint8_t U8(size_t at) const { return Has(at, 1) ? m[at] : 0; }
    // A coordinate: metres come as fractions and are taken as millimetres.
    double Coordinate(size_t at) const
    {
        if (!Has(at, 4))
            return 0;
        uint32_t bits = U32(at);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        double v = f;
        if (!std::isfinite(v))
            return 0;
        if (std::fabs(v) > 0 && std::fabs(v) < 1)
            v *= 1000;
        return std::fmax(-OutsideEvent::kLimitMm, std::fmin(OutsideEvent::kLimitMm, v));
    }
};

bool IsStatus(uint16_t code)
{
    static const uint16_t kStatusCodes[] = {0x0032, 0x8004, 0x8013, 0x8032, 0x805D, 0x805E,
                                            0xC004, 0xC013, 0xC032, 0xC05D, 0xC05E};
    for (uint16_t c : kStatusCodes)
        if (c == code)
            return true;
    return false;
}

}  // namespace

int OutsideEvent::Decode(const uint8_t* message, size_t size)
{
    Reader r{message, size};
    length = static_cast<int32_t>(size);
    if (size > 0)
        std::memcpy(raw, message, size < sizeof raw ? size : sizeof raw);
    code = r.U16(0);
    if (code == kLaneReport || code == kLaneReportToo) {
        if (r.Has(2, 2))
            lane = r.U16(2);
        return 0;
    }
    if (IsStatus(code)) {
        kind = r.U8(2);
        return 0;
    }
    if (code != kData && code != kDataToo)
        return 99;
    number = r.U16(2);
    value = r.U32(4);
    kind = r.U8(8);
    subKind = r.U8(9);
    switch (kind) {
    case 0:
        if (r.Has(10, 2))
            lane = r.U16(10);
        break;
    case 3:
        fieldA = r.U16(10);
        fieldB = r.U16(12);
        fieldC = r.U16(14);
        x = r.Coordinate(20);
        y = r.Coordinate(24);
        byte31 = r.U8(31);
        bytes32 = r.U16(32);
        break;
    case 5:
        kind5First = r.U16(10);
        kind5Second = r.U16(12);
        break;
    case 8: group = r.U8(10); break;
    default: break;
    }
    return 0;
}
