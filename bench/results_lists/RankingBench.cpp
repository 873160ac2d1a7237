// The prize ranking of one large class: 1,000 shooters of one class in an
// event ranked by "DFS Tierregel" (ten ring shots each, many equal totals,
// so the counts of inner tens, tens, ... decide), and in a field event
// ranked by "NJFF Jaktfelt" (four hit series and a points series last:
// where hits tie the comparison loads both cards for their points). Each
// run makes the ranking as the prize form asks for it and shares 50.00
// stakes 1/3 by margins. The competition is made once, through the
// program's own data objects.
#include "results/data/Competition.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/DataList.h"

#include <benchmark/benchmark.h>

#include "BenchFolder.h"
#include "BigCompetition.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace results;

constexpr int kTargets = 100;
constexpr int kRingEvent = 1;
constexpr int kFieldEvent = 2;
constexpr int kHitSeries = 4;  // then one points series

int Relays() { return CountFromEnvironment("BV_RANKING_RELAYS", 10); }

// One class of shooters from 50 clubs (none in the register), on the
// same targets in both events.
BigCompetitionShape Shape()
{
    BigCompetitionShape shape;
    shape.folder = "bvbench-ranking";
    shape.classes = {"Senior"};
    shape.clubs = 50;
    shape.clubRegisters = {};
    shape.relays = Relays();
    shape.targets = kTargets;
    shape.daysBetweenEvents = 0;
    shape.eventName = [](int e) { return std::string(e == kRingEvent ? "Bane" : "Jaktfelt"); };
    shape.seriesShots = [](int e) {
        return e == kRingEvent ? std::vector<int>{10} : std::vector<int>(kHitSeries + 1, 3);
    };
    shape.sumOfAllSeries = true;
    shape.eventSettings = [](CBVConfig& s, int e) {
        if (e == kRingEvent) {
            ::WriteItem(s, EventItems::ResultType(e), 0);  // kind 3
        } else {
            ::WriteItem(s, EventItems::ResultType(e), 6);  // kind 9
            for (int series = 1; series <= kHitSeries + 1; ++series)
                ::WriteItem(s, EventItems::SeriesType(series), series <= kHitSeries ? 7 : 10);
        }
    };
    shape.relayTime = [](int) { return std::string("08:00"); };
    shape.prizeLists = [](CBVConfig& prizes, int) {
        ::WriteItem(prizes, PrizeItems::kClassCount, 1);
        ::WriteItem(prizes, PrizeItems::ClassSource(1), 0x101);
        ::WriteItem(prizes, PrizeItems::ClassOrder(1), 2);
        ::WriteItem(prizes, PrizeItems::ClassShare(1), std::string("1/3"));
        ::WriteItem(prizes, PrizeItems::ClassStake(1), 5000);
    };
    shape.sameShootersEveryEvent = true;
    shape.category = [](int32_t) { return std::string(); };
    shape.shots = [](CDataRes& card, int e, int r, int t, int32_t start) {
        card.LoadCard(r, t);
        if (e == kRingEvent) {
            // Totals from 85 to 99 rings with values 8.0 to 10.9.
            ShotEntry shots[10];
            for (int k = 0; k < 10; ++k)
                shots[k] = {1, static_cast<uint8_t>(k + 1), static_cast<uint8_t>(80 + (start * 7 + k * 13) % 30), 0,
                            0, 0};
            card.StoreSeries(r, t, 1, shots, 10);
        } else {
            // Per hit series: hits 0..6, figures, inner hits; then points 0..9.
            for (int series = 1; series <= kHitSeries; ++series) {
                const int hits = (start * 3 + series * 5) % 7;
                const auto inner = static_cast<uint8_t>(hits == 0 ? 0 : (start + series) % (hits + 1));
                ShotEntry shots[3] = {{static_cast<uint8_t>(series), 1, static_cast<uint8_t>(hits), 0, 0, 0},
                                      {static_cast<uint8_t>(series), 2, 3, 0, 0, 0},
                                      {static_cast<uint8_t>(series), 3, inner, 0, 0, 0}};
                card.StoreSeries(r, t, series, shots, 3);
            }
            ShotEntry points[1] = {{kHitSeries + 1, 1, static_cast<uint8_t>((start * 11) % 10), 0, 0, 0}};
            card.StoreSeries(r, t, kHitSeries + 1, points, 1);
        }
    };
    return shape;
}

BigCompetition& LargeClass()
{
    static BigCompetition competition(Shape());
    return competition;
}

CDataList& List() { return LargeClass().List(); }

void Rank(benchmark::State& state, int event)
{
    CDataList& list = List();
    for (auto _ : state)
        list.MakeRanking(event, 10, 1, 1);
    if (static_cast<int>(list.resultRows.size()) != LargeClass().Shooters())
        state.SkipWithError("not every shooter ranked");
    state.counters["rows"] = static_cast<double>(list.resultRows.size());
    state.counters["winners"] = list.ranking.winners;
}

void BM_RankClassDfs(benchmark::State& state) { Rank(state, kRingEvent); }
void BM_RankClassHuntingFieldWithPoints(benchmark::State& state) { Rank(state, kFieldEvent); }

BENCHMARK(BM_RankClassDfs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RankClassHuntingFieldWithPoints)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
