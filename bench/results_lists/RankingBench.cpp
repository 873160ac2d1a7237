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

#include <cstdlib>
#include "BenchFolder.h"

#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

using namespace results;

constexpr int kTargets = 100;
constexpr int kRingEvent = 1;
constexpr int kFieldEvent = 2;
constexpr int kHitSeries = 4;  // then one points series

int Relays() { return CountFromEnvironment("BV_RANKING_RELAYS", 10); }

class LargeClass {
public:
    static LargeClass& Get()
    {
        static LargeClass c;
        return c;
    }
    int Shooters() const { return m_shooters; }

private:
    LargeClass() { Make(); }

    void Make()
    {
        CCompetition comp;
        if (comp.Open() != 0)
            std::abort();
        CBVConfig& c = comp.Comp();
        ::WriteItem(c, CompItems::kName, std::string("Landsskytterstevnet"));
        ::WriteItem(c, CompItems::kOrgType, 1);
        comp.orgType = 1;
        ::WriteItem(c, CompItems::kClassCount, 1);
        ::WriteItem(c, CompItems::ClassName(1), std::string("Senior"));
        const int relays = Relays();
        ::WriteItem(c, CompItems::kEventCount, 2);
        for (int e = kRingEvent; e <= kFieldEvent; ++e) {
            ::WriteItem(c, CompItems::EventInUse(e), 1);
            ::WriteItem(c, CompItems::EventName(e), std::string(e == kRingEvent ? "Bane" : "Jaktfelt"));
            ::WriteItem(c, CompItems::EventRelays(e), relays);
            ::WriteItem(c, CompItems::EventDays(e), 1);
            ::WriteItem(c, CompItems::EventSeries(e), e == kRingEvent ? 1 : kHitSeries + 1);
            ::WriteItem(c, CompItems::EventSubEvents(e), 1);
            ::WriteItem(c, CompItems::EventFirstTarget(e), 1);
            ::WriteItem(c, CompItems::EventLastTarget(e), kTargets);
        }
        comp.RefreshEvents();

        int32_t nr = 0;
        for (int e = kRingEvent; e <= kFieldEvent; ++e) {
            CDataEvent* event = comp.GetEvent(e);
            CBVConfig& s = event->Settings();
            ::WriteItem(s, EventItems::DayDate(1), 20260516);
            ::WriteItem(s, EventItems::ClassUsed(1), 1);
            std::string codes;
            if (e == kRingEvent) {
                ::WriteItem(s, EventItems::ResultType(e), 0);  // kind 3
                ::WriteItem(s, EventItems::SeriesShots(1), 10);
                codes = "\x01";
            } else {
                ::WriteItem(s, EventItems::ResultType(e), 6);  // kind 9
                for (int series = 1; series <= kHitSeries + 1; ++series) {
                    ::WriteItem(s, EventItems::SeriesShots(series), 3);
                    ::WriteItem(s, EventItems::SeriesType(series), series <= kHitSeries ? 7 : 10);
                    codes += static_cast<char>(series);
                }
            }
            ::WriteItem(s, EventItems::SubEventName(1), std::string("Sum"));
            ::WriteItem(s, EventItems::SubSeries(1), codes);
            CBVConfig& prizes = event->Prizes();
            ::WriteItem(prizes, PrizeItems::kClassCount, 1);
            ::WriteItem(prizes, PrizeItems::ClassSource(1), 0x101);
            ::WriteItem(prizes, PrizeItems::ClassOrder(1), 2);
            ::WriteItem(prizes, PrizeItems::ClassShare(1), std::string("1/3"));
            ::WriteItem(prizes, PrizeItems::ClassStake(1), 5000);
            for (int r = 1; r <= relays; ++r) {
                ::WriteItem(s, EventItems::RelayNumber(r), r);
                ::WriteItem(s, EventItems::RelayDay(r), 1);
                ::WriteItem(s, EventItems::RelayTime(r), std::string("08:00"));
            }

            CDataRes& card = event->Card();
            card.LoadEvent(e);
            for (int r = 1; r <= relays; ++r) {
                for (int t = 1; t <= kTargets; ++t) {
                    ++nr;
                    if (e == kRingEvent)
                        comp.Shooters().Put(nr, "", "Skytter " + std::to_string(nr), 1 + nr % 50, 1, "");
                    const int32_t start = e == kRingEvent ? nr : nr - relays * kTargets;
                    RegRecord entry{};
                    entry.relay = static_cast<int16_t>(r);
                    entry.target = static_cast<int16_t>(t);
                    entry.startNr = start;
                    entry.classNr = 1;
                    event->Entries().File().WriteRecKey(&entry);
                    card.LoadCard(r, t);
                    if (e == kRingEvent) {
                        // Totals from 85 to 99 rings with values 8.0 to 10.9.
                        ShotEntry shots[10];
                        for (int k = 0; k < 10; ++k)
                            shots[k] = {1, static_cast<uint8_t>(k + 1),
                                        static_cast<uint8_t>(80 + (start * 7 + k * 13) % 30), 0, 0, 0};
                        card.StoreSeries(r, t, 1, shots, 10);
                    } else {
                        // Per hit series: hits 0..6, figures, inner hits;
                        // then points 0..9.
                        for (int series = 1; series <= kHitSeries; ++series) {
                            const int hits = (start * 3 + series * 5) % 7;
                            const auto inner = static_cast<uint8_t>(hits == 0 ? 0 : (start + series) % (hits + 1));
                            ShotEntry shots[3] = {{static_cast<uint8_t>(series), 1, static_cast<uint8_t>(hits), 0, 0, 0},
                                                  {static_cast<uint8_t>(series), 2, 3, 0, 0, 0},
                                                  {static_cast<uint8_t>(series), 3, inner, 0, 0, 0}};
                            card.StoreSeries(r, t, series, shots, 3);
                        }
                        ShotEntry points[1] = {
                            {kHitSeries + 1, 1, static_cast<uint8_t>((start * 11) % 10), 0, 0, 0}};
                        card.StoreSeries(r, t, kHitSeries + 1, points, 1);
                    }
                }
            }
        }
        m_shooters = relays * kTargets;
    }

    BenchFolder m_folder{"bvbench-ranking"};  // made and entered before Make runs
    int m_shooters = 0;
};

CDataList& List()
{
    LargeClass::Get();
    static CDataList list;
    static bool opened = false;
    if (!opened) {
        list.OpenCompetition();
        opened = true;
    }
    return list;
}

void Rank(benchmark::State& state, int event)
{
    CDataList& list = List();
    for (auto _ : state)
        list.MakeRanking(event, 10, 1, 1);
    if (static_cast<int>(list.resultRows.size()) != LargeClass::Get().Shooters())
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
