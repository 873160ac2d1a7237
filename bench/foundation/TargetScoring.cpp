// Scoring a shot, as the range control does for simulated shots and for the
// outside range system's shots. A busy range scores a few shots a second; the
// point is that scoring never shows up in a 200 ms tick.
#include "foundation/targets/TargetTypes.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

struct Shot {
    double x, y;
};

// Shots spread over and around the face, the same for every run.
std::vector<Shot> Shots(double spread)
{
    std::mt19937 random(1234);
    std::normal_distribution<double> d(0.0, spread);
    std::vector<Shot> shots(4096);
    for (Shot& s : shots)
        s = {d(random), d(random)};
    return shots;
}

void ScoreShots(benchmark::State& state, int code, double spread, const char* language)
{
    CTargetTypes types;
    types.SetLanguage(language);
    const double bullet = types.GetBulletRadius(code);
    const std::vector<Shot> shots = Shots(spread);
    size_t i = 0;
    for (auto _ : state) {
        const Shot& s = shots[i++ & 4095];
        benchmark::DoNotOptimize(types.Score(s.x, s.y, code, bullet));
    }
    state.SetItemsProcessed(state.iterations());
}

// Ring faces: air rifle, the 300 m face, a face with its own ring set.
void BM_ScoreRingAirRifle(benchmark::State& s) { ScoreShots(s, 23, 8, "NO"); }
void BM_ScoreRing300m(benchmark::State& s) { ScoreShots(s, 0, 200, "NO"); }
void BM_ScoreRingSetNsf200(benchmark::State& s) { ScoreShots(s, 13, 120, "NO"); }
// Figures: most shots settle on the header circles, the rest walk the outline.
void BM_ScoreFigureC20(benchmark::State& s) { ScoreShots(s, 64, 90, "NO"); }
void BM_ScoreFigureQuarter(benchmark::State& s) { ScoreShots(s, 73, 220, "NO"); }
void BM_ScoreFigureProfile(benchmark::State& s) { ScoreShots(s, 82, 100, "NO"); }
// Game faces whose misses fall back on the animal's outline.
void BM_ScoreRoeDeer(benchmark::State& s) { ScoreShots(s, 34, 150, "NO"); }
void BM_ScoreMooseSwedish(benchmark::State& s) { ScoreShots(s, 33, 260, "SE"); }

// The outline walk alone, with every shot between the header circles.
void BM_InsideOutlineWalk(benchmark::State& state)
{
    const FigureOutline* figure = CTargetTypes::GetOutline(12);
    std::mt19937 random(99);
    std::uniform_real_distribution<double> angle(0, 6.283185307179586);
    std::uniform_real_distribution<double> radius(figure->items[0].x + 1, figure->items[0].y);
    std::vector<std::pair<int32_t, int32_t>> points(4096);
    for (auto& p : points) {
        double a = angle(random), r = radius(random);
        p = {static_cast<int32_t>(r * std::sin(a)), static_cast<int32_t>(r * std::cos(a))};
    }
    size_t i = 0;
    for (auto _ : state) {
        auto [x, y] = points[i++ & 4095];
        benchmark::DoNotOptimize(CTargetTypes::FigureHit(x, y, 12, 128));
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_ScoreRingAirRifle);
BENCHMARK(BM_ScoreRing300m);
BENCHMARK(BM_ScoreRingSetNsf200);
BENCHMARK(BM_ScoreFigureC20);
BENCHMARK(BM_ScoreFigureQuarter);
BENCHMARK(BM_ScoreFigureProfile);
BENCHMARK(BM_ScoreRoeDeer);
BENCHMARK(BM_ScoreMooseSwedish);
BENCHMARK(BM_InsideOutlineWalk);

BENCHMARK_MAIN();
