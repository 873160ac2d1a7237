#pragma once
// Simulated shots. With the range set to simulation no line is opened, and
// the officer makes shots for lanes from the lane list to try out a
// competition, the views, the monitors' data and the exports without targets.
// The shots wander: each value takes a random step from a middle value
// towards one of its limits, smaller the more often it is narrowed.
#include "foundation/comp/DataComp.h"
#include "platform/system/Clock.h"

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

class CTargetTypes;

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

    // Kinds of simulated shots: 1 a good shooter, 2 a fair one, 3 a poor one
    // whose shots also carry the warning and frame bits now and then.
    struct ShotInput {
        int kind = 1;
        int lane = 0;
        int targetType = 0;       // the lane's effective target type
        int valueSystem = 0;      // the card's
        int bandFrequency = 0;    // the card's band advance: every n shots, 0 never
        int bandLength = 0;
        int series = 0;           // the lane's current series
        int distance = 0;         // real and simulated distance in metres, as set
        int simulatedDistance = 0;
    };
    // One shot for the lane, valued on its target at now; the store picks
    // its slot (shot number 0).
    ShotRecord MakeShot(const ShotInput& in, const CTargetTypes& types, const platform::LocalTime& now);

    // What the officer typed in the simulation dialog: each field that is
    // not empty takes the place of its random value in the next shots (X and
    // Y in mm, the four sensor times, the change time in seconds, the
    // temperature in degrees, the run number); the two boxes set the frame
    // (0x08) and turned-target (0x04) flags.
    struct Fields {
        std::string x, y;
        bool frameShot = false;
        bool turned = false;
        std::string timeA, timeB, timeC, timeD;
        std::string change, temperature, run;
    };
    void SetFields(const Fields& fields) { m_fields = fields; }

private:
    void ApplyFields(ShotRecord& r) const;

    double Draw();

    Uniform m_uniform;
    std::mt19937 m_generator;
    Fields m_fields;
    std::array<Lane, kLanes + 1> m_lanes{};
};
