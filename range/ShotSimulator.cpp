#include "range/ShotSimulator.h"

#include <algorithm>
#include <cstdint>

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
