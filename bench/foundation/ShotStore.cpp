// The shot store as the range control uses it: storing one shot (the card
// looked up, the list read, written and its counter bumped under the shot
// file's lock, flushed to the disk), and reading a full card's shot list as
// the display and remote programs do. The flushes are counted per shot.
#include "foundation/comp/DataComp.h"
#include "platform/files/FileSystem.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::atomic<long> g_flushes{0};

}  // namespace

// Every flush to the disk of the record files passes here.
extern "C" int fdatasync(int fd)
{
    ++g_flushes;
    return static_cast<int>(syscall(SYS_fdatasync, fd));
}

extern "C" int fsync(int fd)
{
    ++g_flushes;
    return static_cast<int>(syscall(SYS_fsync, fd));
}

namespace {

// A range folder with competition 1, opened for writing.
struct Range {
    std::string folder;
    CDataComp dc;
    Range()
    {
        char name[] = "/tmp/bench_shots_XXXXXX";
        folder = mkdtemp(name);
        platform::CreateFolders(folder + "/Comp1");
        dc.SetBasePath(folder);
        dc.Open(1, 1);
    }
    ~Range()
    {
        dc.Close();
        std::system(("rm -rf " + folder).c_str());
    }
    void Card(int relay)
    {
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = static_cast<int16_t>(relay);
        card.lane = 1;
        card.targetType = 3;
        dc.GetCard(card, 1);
    }
};

ShotRecord Shot(int k)
{
    ShotRecord s;
    std::memset(&s, 0, sizeof s);
    s.state = CDataComp::kSlotShot;
    s.flags = CDataComp::kFlagFromTarget;
    s.x = k * 37;
    s.y = -k * 11;
    s.value = 1000;
    s.series = 1;
    return s;
}

void BM_StoreOneShot(benchmark::State& state)
{
    Range range;
    int relay = 1, k = 0;
    range.Card(relay);
    // The first shot of a card makes its list; measured are the shots after.
    ShotRecord first = Shot(0);
    range.dc.AddShot(relay, 1, first, nullptr, CDataComp::kSlots, 0);
    long flushes = 0;
    for (auto _ : state) {
        if (++k == CDataComp::kSlots) {
            // A full card: the next relay's card and its first shot, unmeasured.
            state.PauseTiming();
            range.Card(++relay);
            ShotRecord s = Shot(0);
            range.dc.AddShot(relay, 1, s, nullptr, CDataComp::kSlots, 0);
            k = 1;
            state.ResumeTiming();
        }
        ShotRecord shot = Shot(k);
        long before = g_flushes;
        benchmark::DoNotOptimize(range.dc.AddShot(relay, 1, shot, nullptr, CDataComp::kSlots, 0));
        flushes += g_flushes - before;
    }
    state.counters["flushes_per_shot"] =
        benchmark::Counter(static_cast<double>(flushes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StoreOneShot);

void BM_ReadShotList(benchmark::State& state)
{
    Range range;
    range.Card(1);
    for (int k = 0; k < CDataComp::kSlots; ++k) {
        ShotRecord s = Shot(k);
        range.dc.AddShot(1, 1, s, nullptr, CDataComp::kSlots, 0);
    }
    ShotListRecord list;
    for (auto _ : state) {
        benchmark::DoNotOptimize(range.dc.ReadShots(1, 1, list));
        int32_t x = list.shots[249].x;
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(BM_ReadShotList);

}  // namespace

BENCHMARK_MAIN();
