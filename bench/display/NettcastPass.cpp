// One pass of the Nettcast export with 100 targets due at once, written to
// a local folder only: each target laid out and drawn at 240 x 180, saved as
// PNG, and its shot file written, then the index, start page and program
// file. The display loop stands still for the whole pass.
#include <QApplication>

#include "bench/OffscreenBench.h"
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "bench/display/BenchTargets.h"
#include "display/draw/NettcastExport.h"
#include "display/model/VisEvent.h"
#include "display/settings/VisSettings.h"

namespace {

// 100 face targets of one event, each with names, 10 shots and sums.
struct Model {
    CVisData data;
    BitmapWindow window{640, 360};
    std::string folder;

    explicit Model(int count)
    {
        folder = std::filesystem::temp_directory_path() / ("bv-nettcast-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        data.drawRect = {0, 0, 640, 360};
        CVisEvent& e = data.AddEvent(1);
        std::strcpy(e.name, "Bane 1");
        e.shotsPerLine = 10;
        CVisPicture& pic = data.AddPicture(1);
        data.current = &pic;
        pic.type = CVisPicture::kNettcast;
        pic.nettcastFolder = folder;
        pic.exportTime = 30;
        pic.store.Open(folder + "/Pict1.bvc", 1);
        WriteItem(pic.store, VisItems::kNettcastFormat, 2);
        CTargetTypes types;
        for (int lane = 1; lane <= count; ++lane) {
            CVisTarget& t = pic.AddTarget(lane);
            FillBenchTarget(t, e, lane, 0x30B07, types);
        }
    }
    ~Model() { std::filesystem::remove_all(folder); }
};

void BM_ExportPassOf100Targets(benchmark::State& state)
{
    // Under CTest a few targets show it works.
    const char* fewer = std::getenv("BV_NETTCAST_TARGETS");
    const int count = fewer ? std::atoi(fewer) : 100;
    Model m(count);
    PicturePainter painter(m.data, m.window);
    NettcastExport exporter(m.data, painter);
    for (auto _ : state) {
        state.PauseTiming();
        for (auto& t : m.data.current->targets)
            t->exportCountdown = 1;
        m.data.nettcast.indexDue = true;
        state.ResumeTiming();
        exporter.ExportNettcast();
    }
    if (m.data.nettcast.exportCount != count * static_cast<int>(state.iterations()))
        state.SkipWithError(("not every target written: " + m.data.nettcast.status).c_str());
    state.counters["per_target"] =
        benchmark::Counter(static_cast<double>(count) * state.iterations(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ExportPassOf100Targets)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksOffscreen<QApplication>(argc, argv); }
