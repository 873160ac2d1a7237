// The display loop on a 100-lane range shown as 100 list rows with places:
// an idle tick (nothing changed; the shot interval's look at the files every
// fifth tick), a tick that finds one new shot, and the ranking of an event.
// An idle tick's share of a core is its time over the 100 ms it repeats in.
#include "display/loop/DisplayLoop.h"
#include "foundation/comp/DataComp.h"
#include "foundation/settings/CompSettings.h"
#include "fuzz/display/NullDisplayPort.h"

#include <benchmark/benchmark.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

// The fuzz targets' frame that draws nothing, but whose picture view clears
// what it drew, as the real one does.
class QuietPort : public fuzz::NullDisplayPort {
public:
    void DrawPanel(CVisTarget& t) override { t.redrawMask = 0; }
};

ShotRecord MakeShot(int value)
{
    ShotRecord s;
    std::memset(&s, 0, sizeof s);
    s.state = CDataComp::kSlotShot;
    s.flags = 0x81;
    s.value = static_cast<int16_t>(value);
    s.series = 1;
    s.temperature = 12700;
    return s;
}

// A working folder with the display's files and range folder R: 100 lanes,
// each with a card and 20 shots of series 1.
struct Range {
    std::string folder;
    CDataComp data;

    Range()
    {
        std::string pattern =
            (std::filesystem::exists("/dev/shm") ? std::string("/dev/shm") : std::filesystem::temp_directory_path().string()) +
            "/bench-display-XXXXXX";
        folder = mkdtemp(pattern.data());
        if (chdir(folder.c_str()) != 0)
            std::abort();
        mkdir("R", 0755);
        mkdir("R/Comp1", 0755);
        {
            CBVConfig rs;
            rs.Open("R\\BVLeder.bvc", 1);
            rs.WriteInt(1, 1, 680, 1);
            rs.WriteString(1, 1, 530, "\x01\x01\x64");
            CBVConfig prog;
            prog.Open("R\\Program.BVC", 1);
            prog.WriteInt(25, 1, 2, 60);
            prog.WriteInt(29, 1, 550, 10);
        }
        data.SetBasePath("R");
        data.Open(1, 1);
        WriteItem(data.CompConfig(), CompSettings::kProgram, 1);
        for (int lane = 1; lane <= 100; ++lane) {
            WriteItem(data.CompConfig(), CompSettings::LaneActive(lane), 1);
            CardRecord card;
            CDataComp::ClearCard(card);
            card.relay = 1;
            card.lane = static_cast<int16_t>(lane);
            data.GetCard(card, 1);
            for (int k = 0; k < 20; ++k) {
                ShotRecord s = MakeShot(800 + (lane * 7 + k * 13) % 290);
                data.AddShot(1, lane, s, nullptr, 60, 0);
            }
        }
        CBVConfig vis, prof, pict;
        vis.Open(".\\BVVis.bvc", 1);
        vis.WriteInt(3, 1, 640, 1);
        vis.WriteLong(3, 1, 570, "R");
        prof.Open(".\\Profil.bvc", 1);
        prof.WriteInt(31, 1, 531, 1);
        prof.WriteInt(500, 1, 1, 1);
        prof.WriteInt(501, 1, 1, 600);
        pict.Open(".\\Pict1.bvc", 1);
        pict.WriteInt(31, 1, 530, 100);
        pict.WriteInt(31, 1, 6, 1);
        for (int i = 1; i <= 100; ++i) {
            pict.WriteInt(503, 1, i, i);
            pict.WriteInt(502, 1, i, 1);
            pict.WriteInt(500, i, 640, 2);
        }
    }
    ~Range()
    {
        data.Close();
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

struct Display {
    QuietPort port;
    CVisData vis;
    DisplayLoop loop{vis, port};
    explicit Display(LoopIntervals intervals)
    {
        loop.OnFirstFocus(intervals);
        for (int i = 0; i < 20; ++i)
            loop.DisplayTick();
    }
};

void BM_IdleTick(benchmark::State& state)
{
    Range range;
    Display d(LoopIntervals{});
    for (auto _ : state)
        d.loop.DisplayTick();
    state.counters["core_pct"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 1e-3, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_IdleTick)->Unit(benchmark::kMicrosecond);

void BM_TickAfterOneShot(benchmark::State& state)
{
    Range range;
    Display d(LoopIntervals{150, 150, 1, 10});
    int lane = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ShotRecord s = MakeShot(1000);
        range.data.AddShot(1, lane % 100 + 1, s, nullptr, 60, 0);
        ++lane;
        if (lane % 3000 == 0)
            for (int l = 1; l <= 100; ++l)
                range.data.DeleteShots(1, l);
        state.ResumeTiming();
        d.loop.DisplayTick();
    }
}
BENCHMARK(BM_TickAfterOneShot)->Unit(benchmark::kMicrosecond);

void BM_RankEvents(benchmark::State& state)
{
    Range range;
    Display d(LoopIntervals{});
    for (auto _ : state)
        d.loop.RankEvents();
}
BENCHMARK(BM_RankEvents)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
