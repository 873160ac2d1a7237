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
#include "foundation/text/FieldText.h"
#include "results/data/Competition.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/DataList.h"
#include "results/registers/DataClub.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

// Under the tests the benchmark only shows that it runs, on a few relays.
int Relays()
{
    const char* relays = std::getenv("BV_LISTS_RELAYS");
    return relays != nullptr && std::atoi(relays) > 0 ? std::min(std::atoi(relays), kRelays) : kRelays;
}

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
    BigCompetition()
    {
        const std::string base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/bvbench-lists-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0)
            std::abort();
        m_folder = pattern;
        Make();
    }
    ~BigCompetition()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }

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
    }

    std::string m_folder;
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

}  // namespace

BENCHMARK_MAIN();
