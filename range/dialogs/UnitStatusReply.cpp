#include "range/dialogs/UnitStatusReply.h"

#include "line/LineMessage.h"
#include "line/UnitModels.h"

#include <cstdio>

namespace {

constexpr uint8_t kVersionReply = 0x86;
constexpr uint8_t kStatusReply = 0x87;
constexpr int kVersionLast = 10;  // the last byte each reply is read to
constexpr int kStatusLast = 26;
// Hardware from this code on counts for itself in the flag byte.
constexpr int kCountingHardware = 32;
constexpr uint8_t kFlagH = 0x40;

std::string VersionText(const LineMessage& m)
{
    char text[48];
    std::snprintf(text, sizeof text, "%d.%02d %02d%02d.%02d.%02d", m.data[5], m.data[6], m.data[7], m.data[8],
                  m.data[9], m.data[10]);
    return text;
}

int64_t Counter(const LineMessage& m, int at)
{
    int64_t high = m.data[at] * 256 + m.data[at + 1];
    int64_t low = m.data[at + 2] * 256 + m.data[at + 3];
    return high * 10000 + low;
}

}  // namespace

bool DecodeUnitVersion(const LineMessage& m, UnitVersionReply& out)
{
    if (m.data[3] != kVersionReply || m.Length() < kVersionLast)
        return false;
    out.lane = m.data[4];
    out.version = VersionText(m);
    return true;
}

bool DecodeUnitStatus(const LineMessage& m, UnitStatusReply& out)
{
    if (m.data[3] != kStatusReply || m.Length() < kStatusLast)
        return false;
    int hardware = m.data[22];
    uint8_t flags = m.data[25];
    out.lane = m.data[4];
    char code[32];
    std::snprintf(code, sizeof code, " HW=%d", hardware);
    out.version = VersionText(m) + code + ((flags & kFlagH) ? "H" : "");
    out.counter1 = Counter(m, 11);
    out.counter2 = Counter(m, 15);
    out.count4 = hardware < kCountingHardware ? static_cast<int>((out.counter1 + out.counter2) & 0x0F) : (flags & 0x0F);
    const char* name = HardwareModelName(m.data[26]);
    out.model = name ? name : "?????";
    return true;
}
