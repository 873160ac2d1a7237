// A result list's work per shooter: 5,000 cards of a 60-shot event (six
// series of ten) loaded one after the other from Res1.bvd, every series
// summed and both sub-event totals (series 1-3 and 4-6 with the start score)
// made with the figures a result row sorts by. A list of 5,000 shooters must
// be ready in under a second: the time per card shows the room left.
// Measured (Debug -O1, shared machine): 40 to 90 ms for the 5,000 cards,
// 8 to 18 microseconds a card, about 3 of them CPU.
#include "foundation/files/BVConfig.h"
#include "foundation/files/ConfigItem.h"
#include "results/data/CompetitionItems.h"
#include "results/data/DataEvent.h"
#include "results/data/DataFileOpen.h"
#include "results/data/DataReg.h"
#include "results/data/EventItems.h"
#include "results/values/DataRes.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace results;

constexpr int kCards = 5000;
constexpr int kTargets = 100;

class BenchEvents : public CardEvents {
public:
    CBVConfig comp, event;
    CBVFileEx results;
    CBVConfig* Comp() override { return &comp; }
    CBVConfig* Settings(int e) override { return e == 1 ? &event : nullptr; }
    CBVFileEx* Results(int e) override { return e == 1 ? &results : nullptr; }
    CDataReg* Entries(int) override { return nullptr; }
};

void CardSums(benchmark::State& state)
{
    char folder[] = "/tmp/bench_cards_XXXXXX";
    if (!mkdtemp(folder)) {
        state.SkipWithError("no temp folder");
        return;
    }
    const std::string dir = std::string(folder) + "/";
    {
        BenchEvents events;
        events.comp.Open(dir + "Comp.bvc", 1);
        events.event.Open(dir + "Event1.bvc", 1);
        ::WriteItem(events.comp, CompItems::EventSeries(1), 6);
        for (int s = 1; s <= 6; ++s) {
            ::WriteItem(events.event, EventItems::SeriesShots(s), 10);
            ::WriteItem(events.event, EventItems::SeriesType(s), 3);
        }
        ::WriteItem(events.event, EventItems::SubSeries(1), std::string("\x01\x02\x03"));
        ::WriteItem(events.event, EventItems::SubSeries(2), std::string("\x04\x05\x06\xFF"));
        if (OpenDataFile(events.results, dir + "Res1.bvd",
                         {CDataEvent::kResultRecordSize, CDataEvent::kResultVersion, true, false}) !=
            OpenOutcome::Opened) {
            state.SkipWithError("Res1.bvd not opened");
            return;
        }
        // The cards as the import leaves them: a whole file written once.
        events.results.CheckOpen();
        events.results.Lock();
        for (int c = 0; c < kCards; ++c) {
            ResultRecord card = EmptyCard(1 + c / kTargets, 1 + c % kTargets);
            for (int i = 0; i < 60; ++i) {
                card.series[i + 1] = static_cast<uint8_t>(1 + i / 10);
                card.value[i + 1] = static_cast<uint8_t>(70 + (c + i * 7) % 50);
            }
            int n = 0;
            events.results.AddRec(n, &card);
        }
        events.results.CheckClose(0);
        events.results.CacheVerify(1);

        CDataRes res(&events);
        res.SetFile(nullptr, 1);
        res.LoadEvent(1);
        long long check = 0;
        for (auto _ : state) {
            for (int c = 0; c < kCards; ++c) {
                res.LoadCard(1 + c / kTargets, 1 + c % kTargets);
                for (int s = 1; s <= 6; ++s)
                    check += res.SeriesSum(s);
                RowFigures ranking, series;
                check += res.SubTotal(1, 1, 1, nullptr, &ranking, &series, 4);
                check += res.SubTotal(1, 1, 2, nullptr, &ranking, &series, 4);
            }
            benchmark::DoNotOptimize(check);
        }
        state.counters["cards_s"] =
            benchmark::Counter(static_cast<double>(state.iterations()) * kCards, benchmark::Counter::kIsRate);
    }
    std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(CardSums)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
