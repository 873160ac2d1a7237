// What the web export and the display do over and over: draw a card sheet
// on an 800 x 1130 picture and save it as an interlaced PNG.
#include "platform/ui/draw/BitmapDC.h"

#include <QGuiApplication>

#include "bench/OffscreenBench.h"
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include <unistd.h>

namespace {

using namespace platform;

// About what one card sheet asks of the surface: boxes, texts in three
// sizes, target faces with rings and shots.
void DrawSheet(CBitmapDC& bitmap)
{
    bitmap.Clear(Rgb(255, 255, 255));
    bitmap.SetMapMode(MM_ISOTROPIC);
    bitmap.SetBkMode(TRANSPARENT);
    bitmap.SetTextAlign(TA_BOTTOM);
    DrawFont small = bitmap.PointFont(80, "Arial");
    DrawFont large = bitmap.PointFont(240, "Arial");
    bitmap.SelectPen({PenStyle::Solid, 2, 0});
    bitmap.SelectBrush(DrawBrush::Hollow());
    for (int box = 0; box < 6; ++box) {
        int left = (box % 2) * 1000, top = -400 - (box / 2) * 900;
        bitmap.Rectangle(left, top, left + 1000, top - 900);
        bitmap.SelectFont(large);
        bitmap.TextOut(left + 20, top - 100, "Serie 1");
        for (int ring = 1; ring <= 10; ++ring) {
            int r = 40 * (11 - ring);
            bitmap.Ellipse(left + 450 - r, top - 450 + r, left + 450 + r, top - 450 - r);
        }
        bitmap.SelectFont(small);
        for (int shot = 0; shot < 10; ++shot) {
            bitmap.Ellipse(left + 400 + shot * 9, top - 420, left + 430 + shot * 9, top - 450);
            bitmap.TextOut(left + 850, top - 100 - shot * 70, "10,4");
        }
    }
}

void BM_DrawCardSheet(benchmark::State& state)
{
    CBitmapDC bitmap;
    bitmap.Create(800, 1130);
    for (auto _ : state)
        DrawSheet(bitmap);
}
BENCHMARK(BM_DrawCardSheet)->Unit(benchmark::kMillisecond);

// Interlaced or not, packed small (the library's default) or quickly (as
// the card pictures are).
void BM_SaveCardSheetPng(benchmark::State& state)
{
    CBitmapDC bitmap;
    bitmap.Create(800, 1130);
    bitmap.SetPngPacking(state.range(1) != 0 ? CBitmapDC::PngPacking::Quick : CBitmapDC::PngPacking::Small);
    DrawSheet(bitmap);
    std::string path = "/tmp/bv_bench_sheet_" + std::to_string(::getpid()) + ".png";
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        benchmark::DoNotOptimize(bitmap.WritePng(file, state.range(0) != 0, false, 0));
        std::fclose(file);
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveCardSheetPng)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"interlaced", "quick"})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksOffscreen<QGuiApplication>(argc, argv); }
