// The display's pictures drawn at 1920 x 1080 from an in-memory model: a
// full repaint (layout and drawing) of a 100-lane list picture and of a
// picture of 20 faces, with the fonts already fitted (a view that has drawn
// before) and from nothing (a new view), and one new shot drawn over a face.
// A repaint must fit in the display's 100 ms tick.
#include <QApplication>

#include "bench/OffscreenBench.h"
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "bench/display/BenchTargets.h"
#include "display/draw/PicturePainter.h"
#include "display/model/VisEvent.h"

namespace {

// A picture of `count` panels of one event, each with names, 10 shots and sums.
struct Model {
    CVisData data;
    BitmapWindow window{1920, 1080};

    Model(int count, int viewFlags)
    {
        data.drawRect = {0, 0, 1920, 1080};
        CVisEvent& e = data.AddEvent(1);
        std::strcpy(e.name, "Bane 1");
        e.shotsPerLine = 10;
        e.longestSeries = 10;
        e.seriesWithShots = 2;
        CVisPicture& pic = data.AddPicture(1);
        data.current = &pic;
        pic.singleEvent = true;
        pic.showClock = true;
        CTargetTypes types;
        for (int lane = 1; lane <= count; ++lane) {
            CVisTarget& t = pic.AddTarget(lane);
            const int total = FillBenchTarget(t, e, lane, viewFlags, types);
            std::strcpy(t.values[CVisTarget::kValClass].text, "Senior");
            std::strcpy(t.values[CVisTarget::kValSeriesName].text, "Serie 1");
            t.values[CVisTarget::kValPlace].number = lane;
            t.seriesSums[1][1] = total;
            t.seriesSums[2][1] = 0;
        }
    }
};

void Repaint(benchmark::State& state, int count, int flags, bool fontsFitted)
{
    Model m(count, flags);
    auto painter = std::make_unique<PicturePainter>(m.data, m.window);
    for (auto _ : state) {
        if (!fontsFitted)
            painter = std::make_unique<PicturePainter>(m.data, m.window);
        painter->LayoutPicture(true);
        painter->RedrawAll();
    }
}

void BM_ListOf100Rows(benchmark::State& state) { Repaint(state, 100, 0x23B57, state.range(0) != 0); }
BENCHMARK(BM_ListOf100Rows)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_TwentyFaces(benchmark::State& state) { Repaint(state, 20, 0x30B07, state.range(0) != 0); }
BENCHMARK(BM_TwentyFaces)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// One new shot on one face of twenty: the previous newest shot repainted,
// the new one drawn, the rings over them, the list's values and the sums.
void BM_OneNewShotOnAFace(benchmark::State& state)
{
    Model m(20, 0x30B07);
    PicturePainter painter(m.data, m.window);
    painter.LayoutPicture(true);
    CVisTarget& t = *m.data.current->targets.front();
    t.currentShotCount = 1;
    painter.RedrawAll();
    for (auto _ : state) {
        if (t.currentShotCount == 10) {
            state.PauseTiming();
            t.currentShotCount = 1;
            t.redrawMask = -1;
            painter.DrawPanel(t, true);
            state.ResumeTiming();
        }
        ++t.currentShotCount;
        t.redrawMask |= 0x33B80;
        painter.DrawPanel(t, true);
    }
}
BENCHMARK(BM_OneNewShotOnAFace)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksOffscreen<QApplication>(argc, argv); }
