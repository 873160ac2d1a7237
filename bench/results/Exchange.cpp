// What an exchange run costs BVRes's worker: 5,000 shooters (two events of
// 25 relays x 100 targets, six series of ten shots) exported by the range
// control's own export into the exchange folder, then taken in: the very
// first run (every file read, every name written), the run of a fresh
// worker on files that are all there (each start of the program), an idle
// run (nothing new) and a run after the range control rewrote 100 files.
// Beside the time, the durable writes (flushes) per shooter read in.
//
// BV_EXCH_BENCH_RELAYS and BV_EXCH_BENCH_TARGETS make the field smaller
// (CTest runs it small, to see that it works). The files lie in a folder of
// their own under BV_BENCH_DIR or beside this program, removed at the end.
#include "foundation/comp/DataComp.h"
#include "foundation/exchange/BVExch.h"
#include "foundation/files/BVConfig.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/ProgramStore.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/files/NativeFile.h"
#include "platform/files/ProfileStore.h"
#include "platform/files/SystemPath.h"
#include "results/data/Competition.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/exchange/BVResThread.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace results;

constexpr int kEvents = 2;
constexpr int kSeries = 6;
constexpr int kShots = 10;

int Setting(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    return text && std::atoi(text) > 0 ? std::atoi(text) : fallback;
}
const int kRelays = Setting("BV_EXCH_BENCH_RELAYS", 25);
const int kTargets = Setting("BV_EXCH_BENCH_TARGETS", 100);

std::atomic<long> g_syncs{0};

void CountSync(const platform::NativeFile&) { ++g_syncs; }

// The range folder: competitions 1 and 2 (prefixes H1 and H2) on lanes
// 1..kTargets, every card of relays 1..kRelays shot.
void ShootTheRange()
{
    std::filesystem::create_directories("range");
    CBVConfig range;
    range.Open(".\\range\\BVLeder.bvc", 1);
    CRangeSettings::WriteChannel(range, 0, ChannelSetting{1, 1, kTargets});
    CBVConfig programs;
    programs.Open(".\\range\\Program.BVC", 1);
    programs.WriteInt(ProgramItems::kProgramSection, 1, ProgramItems::kKeySerieCount, kSeries);
    for (int s = 1; s <= kSeries; ++s)
        programs.WriteInt(ProgramItems::kSerieShots, 1, s + 1, kShots);
    for (int n = 1; n <= kEvents; ++n) {
        std::filesystem::create_directories("range/Comp" + std::to_string(n));
        CDataComp dc;
        dc.SetBasePath(".\\range\\");
        if (dc.Open(n, 1) != 0)
            std::abort();
        WriteItem(dc.CompConfig(), CompSettings::kProgram, 1);
        WriteItem(dc.CompConfig(), CompSettings::kPrefix, "H" + std::to_string(n));
        for (int lane = 1; lane <= kTargets; ++lane)
            WriteItem(dc.CompConfig(), CompSettings::LaneActive(lane), 1);
        dc.SetCurrentProgram(1);
        // One card shot as the range control stores shots, the others
        // given the same list with other values.
        const int scratchRelay = kRelays + 1;
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = static_cast<int16_t>(scratchRelay);
        card.lane = 1;
        card.targetType = 0;
        dc.GetCard(card, 1);
        for (int s = 1; s <= kSeries; ++s)
            for (int k = 1; k <= kShots; ++k) {
                ShotRecord shot{};
                shot.state = CDataComp::kSlotShot;
                shot.flags = CDataComp::kFlagShown;
                shot.x = (k * 1237) % 20000 - 10000;
                shot.y = (s * 3331) % 20000 - 10000;
                shot.value = static_cast<int16_t>(700 + (s * 37 + k * 11) % 390);
                shot.temperature = 12700;
                shot.series = static_cast<uint8_t>(s);
                shot.sensorA = shot.sensorB = shot.sensorC = shot.sensorD = 255;
                dc.AddShot(scratchRelay, 1, shot, nullptr, kShots, 0);
            }
        ShotListRecord list;
        dc.ReadShots(scratchRelay, 1, list);
        for (int relay = 1; relay <= kRelays; ++relay)
            for (int lane = 1; lane <= kTargets; ++lane) {
                CDataComp::ClearCard(card);
                card.relay = static_cast<int16_t>(relay);
                card.lane = static_cast<int16_t>(lane);
                card.targetType = 0;
                dc.GetCard(card, 1);
                for (int i = 0; i < kSeries * kShots; ++i) {
                    const int value = list.shots[i].value;
                    list.shots[i].value = static_cast<int16_t>(700 + (value + relay * 7 + lane * 13) % 390);
                }
                // The first shot makes the card's shot list; the rest come whole.
                ShotRecord first = list.shots[0];
                first.shotNumber = 0;
                dc.AddShot(relay, lane, first, nullptr, kShots, 0);
                dc.WriteShots(relay, lane, list);
            }
    }
}

void Export(int competition, int firstRelay, int lastRelay)
{
    CBVExch exch;
    exch.SetFolder(".\\range\\");
    if (exch.ExportResults(competition, firstRelay, lastRelay, 0, 0, ".\\res\\BV\\") != CBVExch::kDone)
        std::abort();
}

// BVRes's competition in .\res: the two events, a shooter and an entry per card.
void EnterTheShooters()
{
    std::filesystem::current_path("res");
    {
        platform::MemoryProfileStore profile;
        CCompetition comp;
        comp.SetProfile(&profile);
        comp.Open();
        CBVConfig& c = comp.Comp();
        int32_t startNr = 0;
        for (int n = 1; n <= kEvents; ++n) {
            ::WriteItem(c, CompItems::kEventCount, n);
            ::WriteItem(c, CompItems::EventInUse(n), 1);
            ::WriteItem(c, CompItems::EventRelays(n), kRelays);
            ::WriteItem(c, CompItems::EventSeries(n), kSeries);
            ::WriteItem(c, CompItems::EventFirstTarget(n), 1);
            ::WriteItem(c, CompItems::EventLastTarget(n), kTargets);
            ::WriteItem(comp.Exch(), ExchItems::EventType(n), 1);
            ::WriteItem(comp.Exch(), ExchItems::EventPrefix(n), "H" + std::to_string(n));
            comp.RefreshEvents();
            CDataEvent& event = *comp.GetEvent(n);
            for (int s = 1; s <= kSeries; ++s) {
                ::WriteItem(event.Settings(), EventItems::SeriesShots(s), kShots);
                ::WriteItem(event.Settings(), EventItems::SeriesType(s), 3);
            }
            for (int r = 1; r <= kRelays; ++r)
                ::WriteItem(event.Settings(), EventItems::RelayNumber(r), r);
            for (int r = 1; r <= kRelays; ++r)
                for (int t = 1; t <= kTargets; ++t) {
                    ++startNr;
                    comp.Shooters().Put(startNr, "", "Skytter " + std::to_string(startNr), 0, 0, "");
                    RegRecord e{};
                    e.relay = static_cast<int16_t>(r);
                    e.target = static_cast<int16_t>(t);
                    e.startNr = startNr;
                    e.changed = 1;
                    event.Entries().File().WriteRecKey(&e);
                }
        }
    }
    std::filesystem::current_path("..");
}

// The folder the run works in and the one it came from; removed at the end.
std::filesystem::path g_folder;
std::filesystem::path g_started;

// A folder of its own, made once per process on the disk the programs
// would use (the flushes are part of the cost): under BV_BENCH_DIR, or
// beside this program in the build folder.
void Prepare()
{
    static bool done = false;
    if (done)
        return;
    const char* env = std::getenv("BV_BENCH_DIR");
    const std::filesystem::path base = env && *env ? std::filesystem::path(env)
                                                   : std::filesystem::read_symlink("/proc/self/exe").parent_path();
    std::string pattern = (base / "bench-exchange-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        std::abort();
    g_started = std::filesystem::current_path();
    g_folder = std::filesystem::absolute(pattern);
    std::filesystem::current_path(g_folder);
    std::filesystem::create_directories("res/BV");
    ShootTheRange();
    for (int n = 1; n <= kEvents; ++n)
        Export(n, 1, kRelays);
    EnterTheShooters();
    platform::NativeFile::s_syncHook = CountSync;
    done = true;
}

// The worker's run, timed, in BVRes's working folder.
int Run(CBVResThread& worker)
{
    std::filesystem::current_path("res");
    int read = 0;
    for (const ExchangeEventReport& r : worker.ResProc())
        read += r.read;
    std::filesystem::current_path("..");
    return read;
}

void Report(benchmark::State& state, long syncs, long read, long listings = -1)
{
    if (listings >= 0)
        state.counters["listings"] = static_cast<double>(listings) / static_cast<double>(state.iterations());
    state.counters["read"] = static_cast<double>(read) / static_cast<double>(state.iterations());
    state.counters["syncs/read"] = read ? static_cast<double>(syncs) / static_cast<double>(read) : 0;
    state.counters["syncs"] = static_cast<double>(syncs) / static_cast<double>(state.iterations());
}

// The very first run on the exported files: every file read, every name
// and start number written.
void BM_ExchangeFirstRun(benchmark::State& state)
{
    Prepare();
    long syncs = 0, read = 0, listings = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::current_path("res");
        auto worker = std::make_unique<CBVResThread>(1);
        worker->OpenFiles();
        worker->MakeReader();
        std::filesystem::current_path("..");
        const long before = g_syncs.load();
        const long listedBefore = platform::FolderListings();
        state.ResumeTiming();
        read += Run(*worker);
        syncs += g_syncs.load() - before;
        listings += platform::FolderListings() - listedBefore;
    }
    Report(state, syncs, read, listings);
}
BENCHMARK(BM_ExchangeFirstRun)->Unit(benchmark::kMillisecond)->Iterations(1);

// A worker new to the events on files that are all there: what every start
// of the program costs. Every file is read, and every name compared.
void BM_ExchangeRestartRun(benchmark::State& state)
{
    Prepare();
    long syncs = 0, read = 0, listings = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::current_path("res");
        auto worker = std::make_unique<CBVResThread>(1);
        worker->OpenFiles();
        worker->MakeReader();
        std::filesystem::current_path("..");
        const long before = g_syncs.load();
        const long listedBefore = platform::FolderListings();
        state.ResumeTiming();
        read += Run(*worker);
        syncs += g_syncs.load() - before;
        listings += platform::FolderListings() - listedBefore;
    }
    Report(state, syncs, read, listings);
}
BENCHMARK(BM_ExchangeRestartRun)->Unit(benchmark::kMillisecond)->Iterations(2);

// The worker that has run once: a run that finds nothing new.
CBVResThread& SettledWorker()
{
    static std::unique_ptr<CBVResThread> worker;
    if (!worker) {
        std::filesystem::current_path("res");
        worker = std::make_unique<CBVResThread>(1);
        worker->OpenFiles();
        worker->MakeReader();
        std::filesystem::current_path("..");
        Run(*worker);
    }
    return *worker;
}

void BM_ExchangeIdleRun(benchmark::State& state)
{
    Prepare();
    CBVResThread& worker = SettledWorker();
    long syncs = 0, read = 0;
    for (auto _ : state) {
        const long before = g_syncs.load();
        read += Run(worker);
        syncs += g_syncs.load() - before;
    }
    Report(state, syncs, read);
}
BENCHMARK(BM_ExchangeIdleRun)->Unit(benchmark::kMillisecond);

// The range control sent relay 1 of competition 1 again: its files rewritten
// and marked unread.
void BM_ExchangeChangedFiles(benchmark::State& state)
{
    Prepare();
    CBVResThread& worker = SettledWorker();
    long syncs = 0, read = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Export(1, 1, 1);
        const long before = g_syncs.load();
        state.ResumeTiming();
        read += Run(worker);
        syncs += g_syncs.load() - before;
    }
    Report(state, syncs, read);
    state.counters["files"] = kTargets;
}
BENCHMARK(BM_ExchangeChangedFiles)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!g_folder.empty()) {
        std::error_code ec;
        std::filesystem::current_path(g_started, ec);
        std::filesystem::remove_all(g_folder, ec);
    }
    return 0;
}
