// One pass of the Nettcast export with 100 targets due at once, written to
// a local folder only: each target laid out and drawn at 240 x 180, saved as
// PNG, and its shot file written, then the index, start page and program
// file. The display loop stands still for the whole pass.
#include <QApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "display/draw/NettcastExport.h"
#include "display/model/VisEvent.h"
#include "display/settings/VisSettings.h"

namespace {

class Window : public PicturePainter::Window {
public:
    Window()
    {
        bitmap.Create(640, 360);
        bitmap.Clear(0xFFFFFF);
    }
    platform::DrawSurface* BeginWindowDraw() override { return &bitmap; }
    void EndWindowDraw() override {}
    platform::CBitmapDC bitmap;
};

// 100 face targets of one event, each with names, 10 shots and sums.
struct Model {
    CVisData data;
    Window window;
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
            t.event = &e;
            t.lane = lane;
            t.viewFlags = 0x30B07;
            t.card.targetType = 1;
            t.card.valueSystem = 1;
            t.active.relay = 1;
            t.active.seriesState = 1;
            t.seriesShots = 10;
            std::snprintf(t.values[CVisTarget::kValName].text, 32, "Skytter %d", lane);
            std::strcpy(t.values[CVisTarget::kValClub].text, "Brevandi");
            t.values[CVisTarget::kValLane].number = lane;
            for (auto& row : t.seriesSums)
                for (int& v : row)
                    v = -1;
            int total = 0;
            for (int i = 0; i < 10; ++i) {
                ShotRecord& s = t.shots.shots[i];
                const double d = 5 + (lane * 13 + i * 29) % 120, a = (lane * 37 + i * 71) * M_PI / 180;
                s.state = CDataComp::kSlotShot;
                s.flags = 0x81;
                s.x = static_cast<int32_t>(d * std::cos(a) * 1000);
                s.y = static_cast<int32_t>(d * std::sin(a) * 1000);
                s.value = static_cast<int16_t>(types.Score(d * std::cos(a), d * std::sin(a), 1, 4.0));
                t.shownShotMap[i + 1] = i;
                total += s.value / 100 * 100;
            }
            t.currentShotCount = 10;
            t.values[CVisTarget::kValSeriesSum].number = total;
            t.values[CVisTarget::kValTotal].number = total;
            t.values[CVisTarget::kValShotCount].number = 10;
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

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
