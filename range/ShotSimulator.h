#pragma once
// Simulated shots. With the range set to simulation no line is opened, and
// the officer makes shots for lanes from the lane list to try out a
// competition, the views, the monitors' data and the exports without targets.
// The shots wander: each value takes a random step from a middle value
// towards one of its limits, smaller the more often it is narrowed.
#include "platform/Clock.h"

#include <array>
#include <cstdint>
#include <functional>
#include <random>

class ShotSimulator {
public:
    // A source of uniform random numbers from 0 to 1, both included.
    using Uniform = std::function<double()>;

    // Without a source the simulator draws from its own generator, seeded
    // from the clock so that two runs differ.
    explicit ShotSimulator(Uniform uniform = nullptr);

    // A new value between low and high: from x, a step towards high or low
    // (chosen by where a uniform draw between the limits falls against x),
    // of the whole distance times n / 10 uniform factors.
    double RandomStep(double x, double low, double high, int n);

    // What the simulator keeps per lane.
    struct Lane {
        uint8_t counter = 0;     // 4-bit shot counter
        int bandCount = 0;       // shots since the band last moved on
        uint8_t band = 0x80;     // series of the band; bit 7 on odd ones
        platform::LocalTime changed{};
    };
    static constexpr int kLanes = 100;
    Lane& LaneState(int lane) { return m_lanes[static_cast<size_t>(lane)]; }

    // The lane's next simulated series.
    void NextSeries(int lane);

private:
    double Draw();

    Uniform m_uniform;
    std::mt19937 m_generator;
    std::array<Lane, kLanes + 1> m_lanes{};
};
