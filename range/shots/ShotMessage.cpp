#include "range/shots/ShotMessage.h"

#include "foundation/comp/ShotTime.h"

#include <cmath>
#include <cstring>

namespace {

// Message positions of a shot.
enum : int {
    kKind = 5,
    kCompetition = 6,
    kRelay = 7,
    kSeries = 9,
    kShotNumber = 10,
    kCardCount = 11,
    kCurrentSeries = 12,
    kValue = 17,
    kOrderOffset = 23,
    kData17 = 25,
    kState = 26,
    kData41 = 27,
    kX = 28,
    kY = 31,
    kTemperature = 34,
    kSensors = 35,
    kTimeOfDay = 39,
    kShotAt = 42,
    kNibbles = 45,
    kData44 = 46,
    kData45 = 47,
    kSensorSet = 48,
    kFlags = 49,
};

int U16(const uint8_t* p) { return p[0] | (p[1] << 8); }

}  // namespace

int32_t ShotRadius(int32_t x, int32_t y)
{
    int64_t sq = static_cast<int64_t>(x) * x + static_cast<int64_t>(y) * y;
    auto r = static_cast<int64_t>(std::sqrt(static_cast<double>(sq)));
    // The root of a large square can come out one above in floating point.
    while (r > 0 && r * r > sq)
        --r;
    while ((r + 1) * (r + 1) <= sq)
        ++r;
    return static_cast<int32_t>(r);
}

ShotMessage ShotMessage::Parse(const uint8_t* m)
{
    ShotMessage s;
    s.kind = m[kKind];
    s.competition = m[kCompetition];
    s.relay = U16(m + kRelay);
    s.series = m[kSeries];
    s.shotNumber = m[kShotNumber];
    s.cardCount = m[kCardCount];
    s.currentSeries = m[kCurrentSeries];
    return s;
}

ShotRecord ShotMessage::ToShotRecord(const uint8_t* m, const platform::LocalTime& today)
{
    ShotRecord r;
    std::memset(&r, 0, sizeof r);
    r.state = m[kState];
    uint8_t f = m[kFlags];
    uint16_t flags = (f & 0x04) ? 5 : 1;
    if (f & 0x08)
        flags |= 0x08;
    if (f & 0x10)
        flags |= 0x100;
    if (f & 0x20)
        flags |= 0x200;
    r.flags = flags;
    r.x = CDataComp::GetIntLE(m + kX, 3);
    r.y = CDataComp::GetIntLE(m + kY, 3);
    r.radius = ShotRadius(r.x, r.y);
    r.value = static_cast<int16_t>(U16(m + kValue));
    r.data17 = m[kData17];
    r.temperature = static_cast<int16_t>(m[kTemperature] * 100);
    r.orderOffset = m[kOrderOffset];
    r.shotNumber = m[kShotNumber];
    r.displayPos = 0;
    StampShot(r, today, ShotStamp::Date);
    // The unit's time of day in hundredths of a second since midnight.
    uint32_t t = static_cast<uint32_t>(m[kTimeOfDay]) | (static_cast<uint32_t>(m[kTimeOfDay + 1]) << 8) |
                 (static_cast<uint32_t>(m[kTimeOfDay + 2]) << 16);
    r.hour = static_cast<uint8_t>((t / 360000) % 24);
    r.minute = static_cast<uint8_t>((t / 6000) % 60);
    r.second = static_cast<uint8_t>((t / 100) % 60);
    r.hundredths = static_cast<uint8_t>(t % 100);
    r.shotAt = CDataComp::GetIntLE(m + kShotAt, 3);
    r.series = static_cast<uint8_t>(m[kSeries] & 0x7F);
    r.countingSeries = 0;
    r.sensorA = m[kSensors];
    r.sensorB = m[kSensors + 1];
    r.sensorC = m[kSensors + 2];
    r.sensorD = m[kSensors + 3];
    r.data41 = m[kData41];
    r.data42 = static_cast<uint8_t>(m[kNibbles] >> 4);
    r.data43 = static_cast<uint8_t>(m[kNibbles] & 0x0F);
    r.data44 = m[kData44];
    r.data45 = m[kData45];
    r.sensorSet = m[kSensorSet];
    return r;
}

CardCheck CardCheck::Of(const ShotListRecord& list)
{
    CardCheck c;
    for (int i = 0; i < CDataComp::kSlots; ++i) {
        uint8_t state = list.shots[i].state;
        if (state == CDataComp::kSlotSkipped || state == CDataComp::kSlotFree)
            break;
        if (state == CDataComp::kSlotShot)
            ++c.shots;
    }
    c.checks.assign(static_cast<size_t>(c.shots / 10), 0);
    for (size_t g = 0; g < c.checks.size(); ++g) {
        uint8_t check = 0;
        for (size_t i = g * 10; i < g * 10 + 10; ++i) {
            const ShotRecord& s = list.shots[i];
            if (s.state != CDataComp::kSlotShot)
                continue;
            // The bytes as they lie in the record: X and Y (low three), the
            // value, and the century, year and month.
            const auto* b = reinterpret_cast<const uint8_t*>(&s);
            for (size_t k : {3, 4, 5, 7, 8, 9, 15, 16, 23, 24, 25})
                check ^= b[k];
        }
        c.checks[g] = check;
    }
    return c;
}
