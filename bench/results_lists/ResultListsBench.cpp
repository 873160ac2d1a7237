// The result lists of a large competition: 5,000 shooters of 100 clubs on
// 2 events of 25 relays of 100 targets, two classes (some 1,250 shooters a
// class and event), every shooter with two series of five shots. Every
// prize list of both events is made as the report form makes it: kind 10
// (three class lists a class: a sub-event ranked 1/3, a series 1/4, the
// sub-event by name) and kind 11 (a combined list of both classes), in the
// coded layout (organisation type 1) and the fixed one (type 2; its series
// lists stay coded), as a model, an RTF file and a PDF file. The counters
// give the lists and rows made per run; the time per list is the run's
// time divided by the lists.
#include "platform/ui/draw/DefaultPrinter.h"
#include "platform/ui/draw/PrintJob.h"
#include "results/data/Competition.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/DataList.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include "BenchFolder.h"
#include "BigCompetition.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace results;

constexpr int kEvents = 2;
constexpr int kRelays = 25;
constexpr int kTargets = 100;
constexpr int kClubs = 100;
constexpr int kClassLists = 3;

int Relays() { return CountFromEnvironment("BV_RESULT_LISTS_RELAYS", kRelays); }

BigCompetitionShape Shape()
{
    BigCompetitionShape shape;
    shape.folder = "bvbench-results";
    shape.classes = {"Senior", "Junior"};
    shape.competitionSettings = [](CCompetition& comp) {
        ::WriteItem(comp.Comp(), CompItems::kRemarkCount, 2);
        ::WriteItem(comp.Comp(), CompItems::RemarkCode(1), std::string("A"));
        ::WriteItem(comp.Comp(), CompItems::RemarkCode(2), std::string("B"));
    };
    // Both organisation types' registers know the clubs: the lists are
    // made in either.
    shape.clubs = kClubs;
    shape.clubRegisters = {1, 2};
    shape.events = kEvents;
    shape.relays = Relays();
    shape.targets = kTargets;
    shape.seriesShots = [](int) { return std::vector<int>{5, 5}; };
    shape.sumOfAllSeries = true;
    shape.prizeLists = [](CBVConfig& prizes, int) {
        ::WriteItem(prizes, PrizeItems::kClassCount, kClassLists);
        const int sources[kClassLists] = {0x101, 1, 0x101};
        const int orders[kClassLists] = {2, 2, 0};
        const char* shares[kClassLists] = {"1/3", "1/4", "0"};
        for (int p = 1; p <= kClassLists; ++p) {
            ::WriteItem(prizes, PrizeItems::ClassSource(p), sources[p - 1]);
            ::WriteItem(prizes, PrizeItems::ClassClasses(p), std::string{1, 2});
            ::WriteItem(prizes, PrizeItems::ClassOrder(p), orders[p - 1]);
            ::WriteItem(prizes, PrizeItems::ClassShare(p), std::string(shares[p - 1]));
            ::WriteItem(prizes, PrizeItems::ClassStake(p), 5000);
            ::WriteItem(prizes, PrizeItems::ClassKind(p), 2);
        }
        ::WriteItem(prizes, PrizeItems::kGroupCount, 1);
        ::WriteItem(prizes, PrizeItems::GroupName(1), std::string("Alle"));
        ::WriteItem(prizes, PrizeItems::GroupSource(1), 0x101);
        ::WriteItem(prizes, PrizeItems::GroupClasses(1), std::string{1, 2});
        ::WriteItem(prizes, PrizeItems::GroupOrder(1), 2);
        ::WriteItem(prizes, PrizeItems::GroupShare(1), std::string("1/2"));
        ::WriteItem(prizes, PrizeItems::GroupStake(1), 5000);
        ::WriteItem(prizes, PrizeItems::GroupKind(1), 2);
    };
    shape.category = [](int32_t) { return std::string("A"); };
    shape.entryState = [](int32_t nr) { return nr % 7 == 0 ? 1 : 0; };
    // Two series of five shots each.
    shape.shots = [](CDataRes& card, int, int r, int t, int32_t nr) {
        card.LoadCard(r, t);
        for (int series = 1; series <= 2; ++series) {
            ShotEntry shots[5];
            for (int k = 0; k < 5; ++k)
                shots[k] = {static_cast<uint8_t>(series), static_cast<uint8_t>(k + 1),
                            static_cast<uint8_t>(60 + (nr * 7 + k * 3 + series) % 49), 0, 0, 0};
            card.StoreSeries(r, t, series, shots, 5);
        }
    };
    return shape;
}

BigCompetition& Big()
{
    static BigCompetition competition(Shape());
    return competition;
}

CDataList& List() { return Big().List(); }

enum Output { kModel = 0, kRtf = 1, kPdf = 2 };

// Every prize list of kind `kind` of both events, in organisation type
// org, into the output.
void ResultLists(benchmark::State& state)
{
    const int kind = static_cast<int>(state.range(0));
    const int org = static_cast<int>(state.range(1));
    const auto output = static_cast<Output>(state.range(2));
    platform::SetDefaultPrinter(platform::A4Printer(600, 0, 0));
    CDataList& list = List();
    ::WriteItem(list.Competition().Comp(), CompItems::kOrgType, org);
    list.Competition().orgType = org;
    auto request = [&](int e) {
        list.ResetSelection();
        list.request.kind = static_cast<int16_t>(kind);
        list.request.event = static_cast<uint16_t>(e);
        list.request.firstTarget = 1;
        list.request.lastTarget = kTargets;
        list.request.classFilter = {1, 2};
        if (kind == kListResultsByClass)
            list.request.seriesFilter = {1, 2, 3};
        else
            list.request.seriesFilter = {1};
    };
    // What the run makes: its lists and rows, counted on the models.
    int64_t rows = 0, lists = 0;
    for (int e = 1; e <= kEvents; ++e) {
        request(e);
        if (list.MakeList(kOutputModel) == 0)
            state.SkipWithError("no list");
        lists += static_cast<int64_t>(list.report.aListDef.size());
        for (const ListDef& def : list.report.aListDef)
            rows += static_cast<int64_t>(def.bodyRows.size());
        list.report.Reset();
    }
    for (auto _ : state) {
        for (int e = 1; e <= kEvents; ++e) {
            request(e);
            std::unique_ptr<platform::PrintJob> pdf;
            int to = kOutputModel;
            if (output == kRtf) {
                list.request.file = ListFileOptions{};
                list.request.file.header = list.request.file.footer = 1;
                list.request.fileName = ".\\results.rtf";
                to = kOutputFile;
            } else if (output == kPdf) {
                pdf = std::make_unique<platform::PrintJob>();
                if (!pdf->UsePdfFile(std::filesystem::absolute("results.pdf").string()))
                    state.SkipWithError("no PDF printer");
                list.printTarget = pdf->Target();
                to = kOutputPrint;
            }
            if (list.MakeList(to) == 0)
                state.SkipWithError("no list");
            list.report.Reset();
            list.printTarget = nullptr;
        }
    }
    state.counters["lists"] = static_cast<double>(lists);
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["shooters"] = Big().Shooters();
    platform::UseMachineDefaultPrinter();
}

// kind, organisation type, output. In type 2 the sub-event lists take
// the fixed layout.
BENCHMARK(ResultLists)
    ->ArgNames({"kind", "org", "out"})
    ->ArgsProduct({{kListResultsByClass, kListResultsCombined}, {1, 2}, {kModel, kRtf, kPdf}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv)
{
    // The lists measure and print with the kit's fonts.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
