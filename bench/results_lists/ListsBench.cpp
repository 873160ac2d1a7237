// The lists over a whole competition on a large one: 5,000 shooters of 100
// clubs on 2 events of 25 relays of 100 targets, half of them with a series
// of shots. Each list is made as the report form makes it (the statistics,
// the entry list by club, the time schedule), written as an RTF file,
// export.txt is written of all entries, and every prize list is ranked as
// the prize form ranks it. The competition is made once, in memory,
// through the program's own data objects.
//
// To measure more lists, add their kinds to kKinds (and to the competition
// what they need).
//
// The relay lists: the roll call, relay list and text cards of every relay,
// the graphic cards of one relay into a PDF file and as PNG pictures (the
// time per picture), and the team list of automatic teams by club (the
// best three of each club in event 1).
#include "foundation/text/FieldText.h"
#include "results/data/Competition.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/DataList.h"
#include "results/lists/relays/GraphicCards.h"
#include "results/lists/relays/RelayLists.h"
#include "results/registers/DataClub.h"

#include "platform/ui/draw/PrintJob.h"

#include <QGuiApplication>
#include "bench/OffscreenBench.h"
#include <benchmark/benchmark.h>

#include <cstdlib>
#include "BenchFolder.h"
#include "BigCompetition.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace {

using namespace results;

constexpr int kEvents = 2;
constexpr int kRelays = 25;
constexpr int kTargets = 100;
constexpr int kClubs = 100;
constexpr int kClasses = 3;
constexpr int kClassLists = 2;

int Relays() { return CountFromEnvironment("BV_LISTS_RELAYS", kRelays); }

BigCompetitionShape Shape()
{
    BigCompetitionShape shape;
    shape.folder = "bvbench-lists";
    shape.classes = {"Senior", "Junior", "Veteran"};
    shape.clubs = kClubs;
    shape.clubDetails = [](ClubRecord& club, int k) {
        SetFieldText(club.address1, sizeof club.address1, "Postboks " + std::to_string(k));
    };
    shape.events = kEvents;
    shape.relays = Relays();
    shape.targets = kTargets;
    shape.days = 2;
    shape.relayTime = RelayTimeThroughTheDay;
    // Prize lists: per class ranked 1/3 and by final sum 1/4, and one of
    // all classes 1/2.
    shape.prizeLists = [](CBVConfig& prizes, int) {
        ::WriteItem(prizes, PrizeItems::kClassCount, kClassLists);
        for (int p = 1; p <= kClassLists; ++p) {
            ::WriteItem(prizes, PrizeItems::ClassSource(p), 1);
            ::WriteItem(prizes, PrizeItems::ClassOrder(p), p == 1 ? 2 : 1);
            ::WriteItem(prizes, PrizeItems::ClassShare(p), std::string(p == 1 ? "1/3" : "1/4"));
            ::WriteItem(prizes, PrizeItems::ClassStake(p), p == 1 ? 5000 : 2500);
        }
        ::WriteItem(prizes, PrizeItems::kGroupCount, 1);
        ::WriteItem(prizes, PrizeItems::GroupSource(1), 1);
        ::WriteItem(prizes, PrizeItems::GroupClasses(1), std::string("\x01\x02\x03"));
        ::WriteItem(prizes, PrizeItems::GroupOrder(1), 2);
        ::WriteItem(prizes, PrizeItems::GroupShare(1), std::string("1/2"));
        ::WriteItem(prizes, PrizeItems::GroupStake(1), 5000);
    };
    shape.shots = TenShotsForEveryOther;
    // ---- relay lists: a team competition of automatic teams by club
    shape.finish = [](CCompetition& comp) { AddBestThreeOfEachClub(comp, TeamItems::PrizeRankRule(1), 0); };
    return shape;
}

// The competition, made on first use.
BigCompetition& Big()
{
    static BigCompetition competition(Shape());
    return competition;
}

CDataList& List() { return Big().List(); }

void MakeModel(benchmark::State& state, int kind)
{
    CDataList& list = List();
    int rows = 0;
    for (auto _ : state) {
        list.ResetSelection();
        list.request.kind = static_cast<int16_t>(kind);
        if (list.MakeList(kOutputModel) == 0)
            state.SkipWithError("no list");
        rows = 0;
        for (const ListDef& def : list.report.aListDef)
            rows += static_cast<int>(def.bodyRows.size());
        list.report.Reset();
    }
    state.counters["shooters"] = Big().Shooters();
    state.counters["rows"] = rows;
}

void WriteRtf(benchmark::State& state, int kind)
{
    CDataList& list = List();
    for (auto _ : state) {
        list.ResetSelection();
        list.request.kind = static_cast<int16_t>(kind);
        list.request.file = ListFileOptions{};
        list.request.file.header = list.request.file.footer = 1;
        list.request.fileName = ".\\list.rtf";
        if (list.MakeList(kOutputFile) == 0)
            state.SkipWithError("no list");
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size("list.rtf"));
}

void BM_Statistics(benchmark::State& state) { MakeModel(state, kListStatistics); }
void BM_EntryList(benchmark::State& state) { MakeModel(state, kListParticipants); }
void BM_TimeSchedule(benchmark::State& state) { MakeModel(state, kListRunningOrder); }
void BM_EntryListRtf(benchmark::State& state) { WriteRtf(state, kListParticipants); }

void BM_ExportShooters(benchmark::State& state)
{
    CDataList& list = List();
    for (auto _ : state) {
        if (list.ExportShooters() != 0)
            state.SkipWithError("export.txt not written");
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size("export.txt"));
}

// Every prize list of every event as the prize form ranks it: the class
// lists of each class and the combined list.
void BM_EveryPrizeList(benchmark::State& state)
{
    CDataList& list = List();
    int64_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (int e = 1; e <= kEvents; ++e) {
            for (int p = 1; p <= kClassLists; ++p)
                for (int c = 1; c <= kClasses; ++c) {
                    list.MakeRanking(e, 10, p, c);
                    rows += static_cast<int64_t>(list.resultRows.size());
                }
            list.MakeRanking(e, 11, 1, 0);
            rows += static_cast<int64_t>(list.resultRows.size());
        }
    }
    if (rows == 0)
        state.SkipWithError("nobody ranked");
    state.counters["rows"] = static_cast<double>(rows);
}

BENCHMARK(BM_Statistics)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EntryList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimeSchedule)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EntryListRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportShooters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EveryPrizeList)->Unit(benchmark::kMillisecond);

// ---- relay lists ------------------------------------------------------------

// Every relay of both events through one relay producer; rows counted.
void EveryRelay(benchmark::State& state, const std::function<int(CDataList&)>& make)
{
    CDataList& list = List();
    int64_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (int e = 1; e <= kEvents; ++e) {
            list.ResetSelection();
            list.request.event = static_cast<uint16_t>(e);
            list.request.firstRelay = 1;
            list.request.lastRelay = static_cast<uint16_t>(Relays());
            list.request.firstTarget = 1;
            list.request.lastTarget = kTargets;
            if (make(list) == 0)
                state.SkipWithError("no list");
            for (const ListDef& def : list.report.aListDef)
                rows += static_cast<int64_t>(def.bodyRows.size());
            list.report.Reset();
        }
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_RollCallsEveryRelay(benchmark::State& state)
{
    EveryRelay(state, [](CDataList& l) { return RelayLists(l).MakeRollCall(true); });
}
// The web page output: no question, no mark of locked relays.
void BM_RelayListsEveryRelay(benchmark::State& state)
{
    EveryRelay(state, [](CDataList& l) { return RelayLists(l).MakeRelayList(kListRelayList, kOutputWebPage, false); });
}
void BM_TextCardsEveryRelay(benchmark::State& state)
{
    EveryRelay(state, [](CDataList& l) { return RelayLists(l).MakeRelayList(kListShootingCards, kOutputWebPage, false); });
}

// The graphic cards of relay 1 of event 1 (the fifty shooters with shots;
// the time per picture is in seconds).
void GraphicCards(benchmark::State& state, bool pictures)
{
    CDataList& list = List();
    const std::string pdf = "cards.pdf";
    int cards = 0;
    size_t files = 0;
    for (auto _ : state) {
        state.PauseTiming();
        list.ResetSelection();
        list.request.event = 1;
        list.request.firstRelay = list.request.lastRelay = 1;
        list.request.firstTarget = 1;
        // Under the tests ten targets show that it works.
        list.request.lastTarget = Relays() < kRelays ? 10 : kTargets;
        list.request.seriesPerSheet = 14;
        std::unique_ptr<platform::PrintJob> job;
        if (!pictures) {
            job = std::make_unique<platform::PrintJob>();
            job->UsePdfFile(pdf);
            list.printTarget = job->Target();
        }
        state.ResumeTiming();
        cards = results::GraphicCards(list).Print(pictures, false);
        files = list.picturesWritten.size();
        list.printTarget = nullptr;
    }
    if (cards == 0)
        state.SkipWithError("no cards");
    state.counters["cards"] = cards;
    if (pictures) {
        state.counters["pictures"] = static_cast<double>(files);
        state.counters["time_per_picture"] = benchmark::Counter(
            static_cast<double>(files), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    }
}

void BM_GraphicCardsPdf(benchmark::State& state) { GraphicCards(state, false); }
void BM_GraphicCardsPng(benchmark::State& state) { GraphicCards(state, true); }

void BM_TeamListAutomatic(benchmark::State& state)
{
    CDataList& list = List();
    size_t teams = 0;
    for (auto _ : state) {
        list.ResetSelection();
        list.request.kind = kListTeamShooting;
        list.request.treeSelection = 1;
        if (list.MakeList(kOutputModel) == 0)
            state.SkipWithError("no team list");
        teams = list.Def(1).bodyRows.size();
        list.report.Reset();
    }
    state.counters["teams"] = static_cast<double>(teams);
}

BENCHMARK(BM_RollCallsEveryRelay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelayListsEveryRelay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextCardsEveryRelay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphicCardsPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphicCardsPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TeamListAutomatic)->Unit(benchmark::kMillisecond);

}  // namespace

// The graphic cards draw with the kit's fonts.
int main(int argc, char** argv) { return RunBenchmarksOffscreen<QGuiApplication>(argc, argv); }
