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
#include "results/registers/DataClub.h"

#include "platform/ui/draw/PrintJob.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include "BenchFolder.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

using namespace results;

constexpr int kEvents = 2;
constexpr int kRelays = 25;
constexpr int kTargets = 100;
constexpr int kClubs = 100;
constexpr int kClasses = 3;
constexpr int kClassLists = 2;

int Relays() { return CountFromEnvironment("BV_LISTS_RELAYS", kRelays); }

// The working folder with the competition, made on first use.
class BigCompetition {
public:
    static BigCompetition& Get()
    {
        static BigCompetition competition;
        return competition;
    }
    int Shooters() const { return m_shooters; }

private:
    BigCompetition() { Make(); }

    void Make()
    {
        CCompetition comp;
        if (comp.Open() != 0)
            std::abort();
        CBVConfig& c = comp.Comp();
        ::WriteItem(c, CompItems::kName, std::string("Landsskytterstevnet"));
        ::WriteItem(c, CompItems::kOrgType, 1);
        comp.orgType = 1;
        ::WriteItem(c, CompItems::kClassCount, 3);
        const char* classes[] = {"Senior", "Junior", "Veteran"};
        for (int k = 1; k <= 3; ++k)
            ::WriteItem(c, CompItems::ClassName(k), std::string(classes[k - 1]));

        CDataClub clubs;
        clubs.LoadClubs(1);
        for (int k = 1; k <= kClubs; ++k) {
            ClubRecord club{};
            SetFieldText(club.name, sizeof club.name, "Skytterlag " + std::to_string(k));
            SetFieldText(club.address1, sizeof club.address1, "Postboks " + std::to_string(k));
            clubs.Put(&club, k, CDataClub::kClubs);
        }

        const int relays = Relays();
        ::WriteItem(c, CompItems::kEventCount, kEvents);
        for (int e = 1; e <= kEvents; ++e) {
            ::WriteItem(c, CompItems::EventInUse(e), 1);
            ::WriteItem(c, CompItems::EventName(e), "Øvelse " + std::to_string(e));
            ::WriteItem(c, CompItems::EventRelays(e), relays);
            ::WriteItem(c, CompItems::EventDays(e), 2);
            ::WriteItem(c, CompItems::EventSeries(e), 1);
            ::WriteItem(c, CompItems::EventFirstTarget(e), 1);
            ::WriteItem(c, CompItems::EventLastTarget(e), kTargets);
        }
        comp.RefreshEvents();
        int32_t nr = 0;
        for (int e = 1; e <= kEvents; ++e) {
            CDataEvent* event = comp.GetEvent(e);
            CBVConfig& s = event->Settings();
            ::WriteItem(s, EventItems::DayDate(1), 20260516 + e - 1);
            ::WriteItem(s, EventItems::DayDate(2), 20260517 + e - 1);
            ::WriteItem(s, EventItems::SeriesShots(1), 10);
            for (int k = 1; k <= 3; ++k)
                ::WriteItem(s, EventItems::ClassUsed(k), 1);
            for (int r = 1; r <= relays; ++r) {
                ::WriteItem(s, EventItems::RelayNumber(r), r);
                ::WriteItem(s, EventItems::RelayDay(r), r <= relays / 2 ? 1 : 2);
                char time[8];
                std::snprintf(time, sizeof time, "%02d:%02d", 8 + r % 12, r % 2 ? 0 : 30);
                ::WriteItem(s, EventItems::RelayTime(r), std::string(time));
            }
            // Prize lists: per class ranked 1/3 and by final sum 1/4, and
            // one of all classes 1/2.
            CBVConfig& prizes = event->Prizes();
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

            CDataRes& card = event->Card();
            card.LoadEvent(e);
            for (int r = 1; r <= relays; ++r) {
                for (int t = 1; t <= kTargets; ++t) {
                    ++nr;
                    comp.Shooters().Put(nr, "", "Skytter " + std::to_string(nr), 1 + nr % kClubs, 1 + nr % 3,
                                        nr % 2 ? "A" : "B");
                    RegRecord entry{};
                    entry.relay = static_cast<int16_t>(r);
                    entry.target = static_cast<int16_t>(t);
                    entry.startNr = nr;
                    entry.classNr = static_cast<uint8_t>(1 + nr % 3);
                    SetFieldText(entry.category, sizeof entry.category, nr % 2 ? "A" : "B");
                    event->Entries().File().WriteRecKey(&entry);
                    if (nr % 2 == 0) {
                        ShotEntry shots[10];
                        for (int k = 0; k < 10; ++k)
                            shots[k] = {1, static_cast<uint8_t>(k + 1), static_cast<uint8_t>(80 + (nr + k) % 29),
                                        0, 0, 0};
                        card.LoadCard(r, t);
                        card.StoreSeries(r, t, 1, shots, 10);
                    }
                }
            }
        }
        m_shooters = nr;

        // ---- relay lists: a team competition of automatic teams by club
        CBVConfig& team = comp.Team();
        ::WriteItem(team, TeamItems::kCount, 1);
        ::WriteItem(team, TeamItems::Name(1), std::string("Beste lag"));
        ::WriteItem(team, TeamItems::BestOnly(1), 1);
        ::WriteItem(team, TeamItems::Size(1), 3);
        ::WriteItem(team, TeamItems::PrizeRankRule(1), 0);
        ::WriteItem(team, TeamItems::RowCount(1), 1);
        ::WriteItem(team, TeamItems::RowEvent(1, 1), 1);
        ::WriteItem(team, TeamItems::RowSubEvent(1, 1), 1);
        ::WriteItem(team, TeamItems::RowOption(1, 1), 3);
        ::WriteItem(team, TeamItems::RowCodes(1, 1), std::string("\x01\x02\x03"));
    }

    BenchFolder m_folder{"bvbench-lists"};  // made and entered before Make runs
    int m_shooters = 0;
};

CDataList& List()
{
    BigCompetition::Get();
    static CDataList list;
    static bool opened = false;
    if (!opened) {
        list.OpenCompetition();
        opened = true;
    }
    return list;
}

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
        for (const ListDef& def : list.aListDef)
            rows += static_cast<int>(def.bodyRows.size());
        list.Reset();
    }
    state.counters["shooters"] = BigCompetition::Get().Shooters();
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
            for (const ListDef& def : list.aListDef)
                rows += static_cast<int64_t>(def.bodyRows.size());
            list.Reset();
        }
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_RollCallsEveryRelay(benchmark::State& state)
{
    EveryRelay(state, [](CDataList& l) { return l.MakeRollCall(true); });
}
// The web page output: no question, no mark of locked relays.
void BM_RelayListsEveryRelay(benchmark::State& state)
{
    EveryRelay(state, [](CDataList& l) { return l.MakeRelayList(kListRelayList, kOutputWebPage, false); });
}
void BM_TextCardsEveryRelay(benchmark::State& state)
{
    EveryRelay(state, [](CDataList& l) { return l.MakeRelayList(kListShootingCards, kOutputWebPage, false); });
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
        cards = list.PrintCards(pictures, false);
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
        list.Reset();
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
int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
