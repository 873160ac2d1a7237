// Simulated shots: the random step and the lanes' band series.
#include "range/ShotSimulator.h"

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

}  // namespace
