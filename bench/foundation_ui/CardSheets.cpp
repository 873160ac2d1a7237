// The results program's web step draws every card of a relay as PNG
// pictures again and again; the range control prints a relay's cards at
// once. What one card costs on either road.
#include "foundation/ui/cards/CardPrinter.h"
#include "platform/ui/draw/DrawRecorder.h"

#include <QApplication>

#include "bench/OffscreenBench.h"
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

// A card of `series` series of ten shots round the centre of the 50 m face.
void FillCard(PrintCard& card, int series)
{
    card.lane = 4;
    card.relay = 2;
    PrintCard::SetText(card.name, "Kari Nordmann");
    PrintCard::SetText(card.club, "Brevandi Skytterlag");
    card.targetType = 18;
    card.bulletRadius = 2.8;
    for (int s = 1; s <= series; ++s) {
        PrintCard::SetText(card.seriesName[s], "Serie " + std::to_string(s));
        card.valueSystem[s] = 2;
        card.matchSeries[s] = 1;
        for (int i = 0; i < 10; ++i) {
            card.AddShot(s, i + 1, 1000 + 10 * (i % 9), 4 * std::cos(i + s), 4 * std::sin(i + s), 0);
            card.seriesSum[s] += 1000 + 10 * (i % 9);
        }
        card.shotCount[s] = 10;
    }
    card.SumUp();
}

// One sheet (6 series) or two of six (12 series) saved as interlaced PNGs:
// new pictures, or pictures their files already hold (drawn, not written).
void BM_SaveCardPictures(benchmark::State& state)
{
    std::string folder = "/tmp/bv_bench_cards_" + std::to_string(::getpid()) + "/";
    std::filesystem::create_directories(folder);
    const bool unchanged = state.range(1) != 0;
    CCardPrinter printer;
    printer.layout = CCardPrinter::kSheets;
    printer.outputFolder = folder;
    printer.seriesPerSheet = 6;
    for (auto _ : state) {
        state.PauseTiming();
        if (!unchanged)
            for (const auto& entry : std::filesystem::directory_iterator(folder))
                std::filesystem::remove(entry.path());
        FillCard(*printer.AddCard(), static_cast<int>(state.range(0)));
        state.ResumeTiming();
        benchmark::DoNotOptimize(printer.SavePng());
        state.PauseTiming();
        printer.FreeCards();
        state.ResumeTiming();
    }
    state.counters["written"] = printer.picturesSaved;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveCardPictures)
    ->Args({6, 0})
    ->Args({12, 0})
    ->Args({6, 1})
    ->ArgNames({"series", "unchanged"})
    ->Unit(benchmark::kMillisecond);

// Laying out and drawing one card's sheets for a printer, without the
// printer's own work.
void BM_PrintCardSheets(benchmark::State& state)
{
    CCardPrinter printer;
    printer.layout = CCardPrinter::kSheets;
    for (auto _ : state) {
        state.PauseTiming();
        FillCard(*printer.AddCard(), static_cast<int>(state.range(0)));
        platform::DrawRecorder recorder;
        state.ResumeTiming();
        benchmark::DoNotOptimize(printer.PrintTo(recorder));
    }
}
BENCHMARK(BM_PrintCardSheets)->Arg(6)->Arg(12)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksOffscreen<QApplication>(argc, argv); }
