// The score card dialog on a card of 250 shots at detail level 2, on the
// offscreen platform with the range control's frame (without its window):
//
//   Refresh          what the 200 ms tick costs while nothing changed: the
//                    card, name and list read again, the counter compared;
//   FullFill         a change of detail level: the columns built again, the
//                    card read and all 250 rows listed, the sums;
//   CellTexts        every cell of every row worked out once, as the list's
//                    drawing and the shot log do.
#include "foundation/files/BVConfig.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/ProgramStore.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/files/FileSystem.h"
#include "platform/ui/Prompter.h"
#include "range/scorecard/CardColumns.h"
#include "range/ui/MainFrm.h"
#include "range/ui/scorecard/DlgCard.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <filesystem>
#include <memory>
#include <string>

namespace {

struct Range {
    std::filesystem::path folder;
    std::unique_ptr<RangeObjects> objects;
    std::unique_ptr<CMainFrame> frame;
    CDlgCard* dialog = nullptr;

    Range()
    {
        folder = std::filesystem::temp_directory_path() / ("bench_card_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "Comp1");
        std::filesystem::current_path(folder);
        {
            CBVConfig range;
            range.Open(".\\BVLeder.bvc", 1);
            WriteItem(range, RangeItems::kCurrentCompetition, 1);
            CBVConfig programs;
            programs.Open(".\\Program.BVC", 1);
            programs.WriteString(ProgramItems::kProgramSection, 1, ProgramItems::kKeyName, "Bench");
            programs.WriteInt(ProgramItems::kProgramSection, 1, ProgramItems::kKeySerieCount, 25);
            for (int s = 1; s <= 25; ++s)
                programs.WriteInt(ProgramItems::kSerieShots, 1, s + 1, 10);
            CBVConfig comp;
            comp.Open(CompSettings::FileOf(".\\", 1), 1);
            WriteItem(comp, CompSettings::kProgram, 1);
        }
        objects = std::make_unique<RangeObjects>();
        objects->settings.OpenConfig();
        objects->settings.profile.cardDetail = 2;
        objects->comp.Open(1, 1);
        objects->comp.SetCurrentProgram(1);
        objects->programs.SetCurrentProgram(1);
        CDataComp& dc = objects->comp;
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = 1;
        card.lane = 1;
        card.targetType = 3;
        card.valueSystem = 2;
        card.sensitivity = 1;
        dc.GetCard(card, 1);
        for (int k = 0; k < CDataComp::kSlots; ++k) {
            ShotRecord s;
            std::memset(&s, 0, sizeof s);
            s.state = CDataComp::kSlotShot;
            s.flags = 0x0081;
            s.series = static_cast<uint8_t>(1 + k / 10);
            s.value = static_cast<int16_t>(850 + (k * 37) % 250);
            s.x = 1000 * (k % 17) - 8000;
            s.y = 700 * (k % 13) - 4000;
            s.radius = 5000;
            s.temperature = 2100;
            s.sensorA = 30;
            s.sensorB = 31;
            s.sensorC = 32;
            s.sensorD = 31;
            s.sensorSet = 1;
            s.shotAt = 1234 + k;
            s.century = 20;
            s.year = 26;
            s.month = 5;
            s.day = 1;
            dc.AddShot(1, 1, s, nullptr, 10, 0);
        }
        frame = std::make_unique<CMainFrame>(*objects);
        dialog = new CDlgCard(*objects, frame->Range(), nullptr);
        dialog->m_relay = 1;
        dialog->m_lane = 1;
        dialog->m_lastLane = 1;
        dialog->Create();
    }
    ~Range()
    {
        delete dialog;
        frame.reset();
        objects.reset();
        std::filesystem::current_path(std::filesystem::temp_directory_path());
        std::filesystem::remove_all(folder);
    }
};

// Made in main, once the application is there, and gone before it goes.
Range* g_range = nullptr;
Range& TheRange() { return *g_range; }

void BM_Refresh(benchmark::State& state)
{
    CDlgCard& d = *TheRange().dialog;
    for (auto _ : state)
        d.Refresh();
    state.counters["rows"] = d.Card().RowCount();
}
BENCHMARK(BM_Refresh)->Unit(benchmark::kMicrosecond);

void BM_FullFill(benchmark::State& state)
{
    CDlgCard& d = *TheRange().dialog;
    for (auto _ : state) {
        // Leaving level 2 and coming back: two full fills.
        d.item(CDlgCard::IDC_DETAIL).choose(1);
        d.item(CDlgCard::IDC_DETAIL).choose(2);
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.counters["rows"] = d.Card().RowCount();
}
BENCHMARK(BM_FullFill)->Unit(benchmark::kMillisecond);

void BM_CellTexts(benchmark::State& state)
{
    CDlgCard& d = *TheRange().dialog;
    for (auto _ : state) {
        size_t length = 0;
        for (int row = 0; row < d.Card().RowCount(); ++row)
            for (int kind : d.ColumnKinds())
                length += d.Cells().Text(d.Card(), row, kind).size();
        benchmark::DoNotOptimize(length);
    }
}
BENCHMARK(BM_CellTexts)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    g_range = new Range;
    benchmark::RunSpecifiedBenchmarks();
    delete g_range;
    benchmark::Shutdown();
    return 0;
}
