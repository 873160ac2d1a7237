// Simulated shots: the random step and the lanes' band series.
#include "range/shots/ShotSimulator.h"
#include "range/shots/ShotMessage.h"

#include "foundation/targets/TargetTypes.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

// A source that plays back the numbers given, in order.
ShotSimulator::Uniform Script(std::deque<double> numbers)
{
    auto queue = std::make_shared<std::deque<double>>(std::move(numbers));
    return [queue] {
        double u = queue->front();
        queue->pop_front();
        return u;
    };
}

TEST(ShotSimulator, RandomStep)
{
    struct Case {
        const char* name;
        double x, low, high;
        int n;
        std::deque<double> draws;  // n / 10 factors, then the direction
        double expected;
    };
    const Case cases[] = {
        // Below ten the step takes the whole way to a limit.
        {"up to the limit", 31, 0, 100, 0, {0.31}, 100},
        {"down to the limit", 31, 0, 100, 9, {0.30}, 0},
        {"draw at the edge counts as up", 5, 0, 10, 0, {0.5}, 10},
        {"both limits drawn", 0, -1000, 1000, 0, {0.0}, -1000},
        // Each ten of n narrows the step by one factor.
        {"one factor up", 20, 18, 22, 10, {0.5, 0.9}, 21},
        {"two factors down", 50, 0, 100, 20, {0.5, 0.5, 0.1}, 37.5},
        {"narrow step", 0, -4000, 4000, 37, {0.5, 0.5, 0.5, 0.75}, 500},
        // A source that strays outside 0..1 never takes a value past its limits.
        {"source above one", 50, 0, 100, 10, {3.0, 7.0}, 100},
        {"source below zero", 50, 0, 100, 10, {-2.0, 1.0}, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShotSimulator sim(Script(c.draws));
        EXPECT_DOUBLE_EQ(sim.RandomStep(c.x, c.low, c.high, c.n), c.expected);
    }
}

// The simulator's own generator: every value within the limits, both ways,
// and the whole range reached with a full step.
TEST(ShotSimulator, OwnGeneratorStaysInside)
{
    ShotSimulator sim;
    int up = 0, down = 0;
    for (int i = 0; i < 2000; ++i) {
        double r = sim.RandomStep(0, -5500, 5500, 26);
        ASSERT_GE(r, -5500);
        ASSERT_LE(r, 5500);
        (r >= 0 ? up : down)++;
        double full = sim.RandomStep(31, 0, 100, 0);
        ASSERT_TRUE(full == 0 || full == 100) << full;
    }
    EXPECT_GT(up, 800);
    EXPECT_GT(down, 800);
}

TEST(ShotSimulator, BandSeries)
{
    ShotSimulator sim(Script({}));
    EXPECT_EQ(sim.LaneState(7).band, 0x80);
    const uint8_t expected[] = {0x81, 0x02, 0x83, 0x04};
    for (uint8_t band : expected) {
        sim.NextSeries(7);
        EXPECT_EQ(sim.LaneState(7).band, band);
    }
    EXPECT_EQ(sim.LaneState(8).band, 0x80);
}

ShotSimulator::Uniform Always(double u)
{
    return [u] { return u; };
}

// A simulated shot: from a source stuck at 1 every step goes the whole way
// up, from one stuck at 0 no narrowed step moves at all.
TEST(ShotSimulator, ShotFields)
{
    CTargetTypes types;
    const platform::LocalTime now{2026, 5, 17, 10, 11, 12, 345, 0};
    struct Case {
        const char* name;
        double u;
        int kind;
        int type;  // 3: 15 m with a face of 41.5 mm; 2: 100 m, 300 mm
        int x, y;
        uint8_t sensors[4];
        uint16_t flags;
        int32_t shotAt;
        int16_t temperature;
    };
    const Case cases[] = {
        {"poor shooter, all up", 1.0, 3, 3, 45650, 45650, {100, 100, 100, 100}, 0x208, 1500, 2200},
        {"fair shooter, all up", 1.0, 2, 3, 45650, 45650, {100, 100, 100, 100}, 0, 1500, 2200},
        {"long range: no fourth sensor", 1.0, 1, 2, 330000, 330000, {100, 100, 100, 255}, 0, 1500, 2200},
        {"poor shooter, no step", 0.0, 3, 3, 0, 0, {31, 31, 31, 32}, 0, 250, 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShotSimulator sim(Always(c.u));
        ShotSimulator::ShotInput in;
        in.kind = c.kind;
        in.lane = 12;
        in.targetType = c.type;
        in.series = 0x83;
        in.distance = types.GetDistance(c.type);
        in.simulatedDistance = in.distance;
        ShotRecord r = sim.MakeShot(in, types, now);
        EXPECT_EQ(static_cast<int>(r.x), c.x);
        EXPECT_EQ(static_cast<int>(r.y), c.y);
        EXPECT_EQ(static_cast<int>(r.radius), ShotRadius(c.x, c.y));
        EXPECT_EQ(static_cast<int>(r.value),
                  types.Score(c.x / 1000.0, c.y / 1000.0, c.type, types.GetBulletRadius(c.type), 0));
        const uint8_t sensors[4] = {r.sensorA, r.sensorB, r.sensorC, r.sensorD};
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(sensors[k], c.sensors[k]) << k;
        EXPECT_EQ(static_cast<int>(r.flags), c.flags);
        EXPECT_EQ(static_cast<int>(r.shotAt), c.shotAt);
        EXPECT_EQ(static_cast<int>(r.temperature), c.temperature);
        EXPECT_EQ(r.state, CDataComp::kSlotNoPosition);
        EXPECT_EQ(r.data41, 12);
        EXPECT_EQ(r.series, 3);
        EXPECT_EQ(r.shotNumber, 0);
        EXPECT_EQ(r.data43, 1);
        EXPECT_EQ(r.data44, 0x80);
        const uint8_t when[8] = {r.century, r.year, r.month, r.day, r.hour, r.minute, r.second, r.hundredths};
        const uint8_t expected[8] = {20, 26, 5, 17, 10, 11, 12, 34};
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(when[k], expected[k]) << k;
    }
}

TEST(ShotSimulator, ShotsOfALane)
{
    CTargetTypes types;
    ShotSimulator sim(Always(0.0));
    ShotSimulator::ShotInput in;
    in.lane = 4;
    in.targetType = 3;
    in.bandFrequency = 3;
    in.bandLength = 25;
    in.distance = 15;
    // A simulated 15 m shot on a target set for 30 m lies twice as far out.
    in.simulatedDistance = 30;
    std::vector<int> lengths, moved, counters;
    for (int i = 0; i < 17; ++i) {
        ShotRecord r = sim.MakeShot(in, types, platform::LocalTime{2026, 1, 1});
        lengths.push_back(r.data45);
        moved.push_back((r.flags & 0x100) != 0);
        counters.push_back(r.data43);
    }
    // The band moves on every third shot; the shot after a move carries the length.
    EXPECT_EQ(lengths, (std::vector<int>{25, 0, 0, 25, 0, 0, 25, 0, 0, 25, 0, 0, 25, 0, 0, 25, 0}));
    EXPECT_EQ(moved, (std::vector<int>{0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0}));
    // The shot counter has four bits.
    EXPECT_EQ(counters, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 1}));

    // The scale from the simulated distance reaches the value: the shot is
    // valued at twice its distance from the centre.
    ShotSimulator up(Always(0.8));
    in.bandFrequency = 0;
    ShotRecord far = up.MakeShot(in, types, platform::LocalTime{2026, 1, 1});
    double bullet = types.GetBulletRadius(3);
    int scaled = types.Score(far.x * 2 / 1000.0, far.y * 2 / 1000.0, 3, bullet, 0);
    ASSERT_NE(scaled, types.Score(far.x / 1000.0, far.y / 1000.0, 3, bullet, 0));
    EXPECT_EQ(static_cast<int>(far.value), scaled);
    EXPECT_EQ(static_cast<int>(far.data45), 0);
}

// What the officer types in the simulation dialog takes the place of the
// random values; empty fields and text that is no number leave them.
TEST(ShotSimulator, TypedFieldsReplaceTheirRandomValues)
{
    CTargetTypes types;
    ShotSimulator::ShotInput in;
    in.kind = 1;
    in.lane = 7;
    in.targetType = 3;
    in.distance = types.GetDistance(3);
    in.simulatedDistance = in.distance;
    const platform::LocalTime now{2026, 1, 1};

    ShotSimulator plain(Always(0.0));
    ShotRecord random = plain.MakeShot(in, types, now);

    ShotSimulator sim(Always(0.0));
    ShotSimulator::Fields f;
    f.x = "2,5";
    f.y = "-1.25";
    f.frameShot = true;
    f.turned = true;
    f.timeA = "12";
    f.timeB = "";
    f.timeC = "300";  // held to a byte
    f.timeD = "x";
    f.change = "1.5";
    f.temperature = "21,5";
    f.run = "9";
    sim.SetFields(f);
    ShotRecord r = sim.MakeShot(in, types, now);
    EXPECT_EQ(static_cast<int>(r.x), 2500);
    EXPECT_EQ(static_cast<int>(r.y), -1250);
    EXPECT_EQ(static_cast<int>(r.radius), ShotRadius(2500, -1250));
    EXPECT_EQ(static_cast<int>(r.value), types.Score(2.5, -1.25, 3, types.GetBulletRadius(3), 0));
    EXPECT_EQ(static_cast<int>(r.flags) & 0x0C, 0x0C);
    EXPECT_EQ(static_cast<int>(r.sensorA), 12);
    EXPECT_EQ(static_cast<int>(r.sensorB), static_cast<int>(random.sensorB));
    EXPECT_EQ(static_cast<int>(r.sensorC), 255);
    EXPECT_EQ(static_cast<int>(r.sensorD), static_cast<int>(random.sensorD));
    EXPECT_EQ(static_cast<int>(r.shotAt), 150);
    EXPECT_EQ(static_cast<int>(r.temperature), 2150);
    EXPECT_EQ(static_cast<int>(r.data43), 9);

    // Cleared fields give the simulator its own values back.
    sim.SetFields({});
    ShotRecord again = sim.MakeShot(in, types, now);
    EXPECT_EQ(static_cast<int>(again.x), static_cast<int>(random.x));
    EXPECT_EQ(static_cast<int>(again.flags) & 0x0C, 0);
}

}  // namespace
