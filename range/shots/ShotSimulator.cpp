#include "range/shots/ShotSimulator.h"

#include "foundation/comp/ShotTime.h"
#include "foundation/targets/TargetTypes.h"
#include "range/shots/ShotMessage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstring>

ShotSimulator::ShotSimulator(Uniform uniform)
    : m_uniform(std::move(uniform)),
      m_generator(static_cast<std::mt19937::result_type>(platform::MonotonicUs() ^ platform::TickCount()))
{
}

double ShotSimulator::Draw()
{
    double u = m_uniform ? m_uniform()
                         : static_cast<double>(m_generator() - std::mt19937::min()) /
                               static_cast<double>(std::mt19937::max() - std::mt19937::min());
    // A source that strays outside 0..1 must not throw a shot off the target.
    return std::clamp(u, 0.0, 1.0);
}

double ShotSimulator::RandomStep(double x, double low, double high, int n)
{
    double d = 1.0;
    for (int i = 0; i < n / 10; ++i)
        d *= Draw();
    double v = low + Draw() * (high - low);
    double r = v >= x ? x + d * (high - x) : x - d * (x - low);
    return std::clamp(r, low, high);
}

void ShotSimulator::NextSeries(int lane)
{
    Lane& l = LaneState(lane);
    uint8_t next = static_cast<uint8_t>((l.band & 0x7F) + 1);
    l.band = static_cast<uint8_t>(next | ((next & 1) ? 0x80 : 0));
    l.changed = platform::Now();
}

ShotRecord ShotSimulator::MakeShot(const ShotInput& in, const CTargetTypes& types, const platform::LocalTime& now)
{
    ShotRecord r;
    std::memset(&r, 0, sizeof r);
    Lane& lane = LaneState(in.lane);

    // A poor shooter's signals and shots spread wider.
    bool fair = in.kind == 2;
    r.sensorA = static_cast<uint8_t>(RandomStep(31, 0, 100, fair ? 40 : 70));
    r.sensorB = static_cast<uint8_t>(RandomStep(31, 0, 100, fair ? 30 : 60));
    r.sensorC = static_cast<uint8_t>(RandomStep(31, 0, 100, fair ? 40 : 70));
    r.sensorD = static_cast<uint8_t>(RandomStep(32, 0, 100, fair ? 40 : 60));
    if (types.GetDistance(in.targetType) >= 100)
        r.sensorD = 255;  // long-range targets have no fourth sensor

    // A tenth beyond the face, in micrometres.
    double reach = static_cast<double>(static_cast<int32_t>(types.GetFaceRadius(in.targetType) * 1100));
    int spread = in.kind == 2 ? 37 : in.kind == 3 ? 26 : 48;
    r.x = static_cast<int32_t>(RandomStep(0, -reach, reach, spread));
    r.y = static_cast<int32_t>(RandomStep(0, -reach, reach, spread));

    lane.counter = static_cast<uint8_t>((lane.counter + 1) & 0x0F);
    r.data43 = lane.counter;
    r.data44 = lane.band;

    uint16_t flags = 0;
    ++lane.bandCount;
    if (in.bandFrequency != 0) {
        if (lane.bandCount == 1)
            r.data45 = static_cast<int16_t>(in.bandLength);
        if (lane.bandCount >= in.bandFrequency) {
            lane.bandCount = 0;
            flags |= 0x100;
        }
    }
    if (in.kind == 3) {
        if (RandomStep(5, 0, 10, 0) > 8)
            flags |= 0x200;
        if (RandomStep(50, 0, 100, 0) > 80)
            flags |= 0x08;
    }
    r.flags = flags;

    r.shotAt = static_cast<int32_t>(RandomStep(250, -30, 1500, 50));
    r.temperature = static_cast<int16_t>(static_cast<int>(RandomStep(20, 18, 22, 50)) * 100);

    StampShot(r, now, ShotStamp::DateAndTime);
    ApplyFields(r);

    r.radius = ShotRadius(r.x, r.y);
    // Valued as it would lie on the real target: the coordinates scaled from
    // the simulated distance to the real one.
    double scale = in.distance != 0 ? static_cast<double>(in.simulatedDistance) / in.distance : 1.0;
    r.value = static_cast<int16_t>(types.Score(r.x * scale / 1000.0, r.y * scale / 1000.0, in.targetType,
                                               types.GetBulletRadius(in.targetType), in.valueSystem));
    r.state = CDataComp::kSlotNoPosition;
    r.data41 = static_cast<uint8_t>(in.lane);
    r.shotNumber = 0;
    r.series = static_cast<uint8_t>(in.series & 0x7F);
    return r;
}

namespace {

// A number as typed, with a decimal point or comma; false when the field is
// empty or holds no number.
bool TypedNumber(const std::string& text, double& value)
{
    std::string t = text;
    for (char& c : t)
        if (c == ',')
            c = '.';
    size_t start = t.find_first_not_of(' ');
    if (start == std::string::npos)
        return false;
    char* end = nullptr;
    value = std::strtod(t.c_str() + start, &end);
    return end != t.c_str() + start && std::isfinite(value);
}

template <typename T>
T Held(double v, double low, double high)
{
    return static_cast<T>(std::clamp(v, low, high));
}

}  // namespace

void ShotSimulator::ApplyFields(ShotRecord& r) const
{
    const Fields& f = m_fields;
    double v = 0;
    // One metre beyond the centre is further than any face.
    constexpr double kReach = 1000000;
    if (TypedNumber(f.x, v))
        r.x = Held<int32_t>(std::round(v * 1000), -kReach, kReach);
    if (TypedNumber(f.y, v))
        r.y = Held<int32_t>(std::round(v * 1000), -kReach, kReach);
    if (f.frameShot)
        r.flags |= 0x08;
    if (f.turned)
        r.flags |= 0x04;
    uint8_t* sensors[] = {&r.sensorA, &r.sensorB, &r.sensorC, &r.sensorD};
    const std::string* times[] = {&f.timeA, &f.timeB, &f.timeC, &f.timeD};
    for (int i = 0; i < 4; ++i)
        if (TypedNumber(*times[i], v))
            *sensors[i] = Held<uint8_t>(v, 0, 255);
    if (TypedNumber(f.change, v))
        r.shotAt = Held<int32_t>(std::round(v * 100), -2e9, 2e9);
    if (TypedNumber(f.temperature, v))
        r.temperature = Held<int16_t>(std::round(v * 100), -12700, 12699);
    if (TypedNumber(f.run, v))
        r.data43 = Held<uint8_t>(v, 0, 255);
}
