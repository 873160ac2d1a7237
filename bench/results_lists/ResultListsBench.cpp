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
#include "foundation/text/FieldText.h"
#include "platform/ui/draw/DefaultPrinter.h"
#include "platform/ui/draw/PrintJob.h"
#include "results/data/Competition.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/lists/DataList.h"
#include "results/registers/DataClub.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include "BenchFolder.h"

#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

using namespace results;

constexpr int kEvents = 2;
constexpr int kRelays = 25;
constexpr int kTargets = 100;
constexpr int kClubs = 100;
constexpr int kClasses = 2;
constexpr int kClassLists = 3;

int Relays() { return CountFromEnvironment("BV_RESULT_LISTS_RELAYS", kRelays); }

class BigCompetition {
public:
    static BigCompetition& Get()
    {
        static BigCompetition competition;
        return competition;
    }
    int Shooters() const { return m_shooters; }

private:
    BigCompetition() { Make(); }

    void Make()
    {
        CCompetition comp;
        if (comp.Open() != 0)
            std::abort();
        CBVConfig& c = comp.Comp();
        ::WriteItem(c, CompItems::kName, std::string("Landsskytterstevnet"));
        ::WriteItem(c, CompItems::kOrgType, 1);
        comp.orgType = 1;
        ::WriteItem(c, CompItems::kClassCount, kClasses);
        ::WriteItem(c, CompItems::ClassName(1), std::string("Senior"));
        ::WriteItem(c, CompItems::ClassName(2), std::string("Junior"));
        ::WriteItem(c, CompItems::kRemarkCount, 2);
        ::WriteItem(c, CompItems::RemarkCode(1), std::string("A"));
        ::WriteItem(c, CompItems::RemarkCode(2), std::string("B"));

        CDataClub clubs;
        for (int org : {1, 2}) {
            clubs.LoadClubs(org);
            for (int k = 1; k <= kClubs; ++k) {
                ClubRecord club{};
                SetFieldText(club.name, sizeof club.name, "Skytterlag " + std::to_string(k));
                clubs.Put(&club, k, CDataClub::kClubs);
            }
        }

        const int relays = Relays();
        ::WriteItem(c, CompItems::kEventCount, kEvents);
        for (int e = 1; e <= kEvents; ++e) {
            ::WriteItem(c, CompItems::EventInUse(e), 1);
            ::WriteItem(c, CompItems::EventName(e), "Øvelse " + std::to_string(e));
            ::WriteItem(c, CompItems::EventRelays(e), relays);
            ::WriteItem(c, CompItems::EventDays(e), 1);
            ::WriteItem(c, CompItems::EventSeries(e), 2);
            ::WriteItem(c, CompItems::EventSubEvents(e), 1);
            ::WriteItem(c, CompItems::EventFirstTarget(e), 1);
            ::WriteItem(c, CompItems::EventLastTarget(e), kTargets);
        }
        comp.RefreshEvents();
        int32_t nr = 0;
        for (int e = 1; e <= kEvents; ++e) {
            CDataEvent* event = comp.GetEvent(e);
            CBVConfig& s = event->Settings();
            ::WriteItem(s, EventItems::DayDate(1), 20260516 + e - 1);
            for (int k = 1; k <= 2; ++k)
                ::WriteItem(s, EventItems::SeriesShots(k), 5);
            ::WriteItem(s, EventItems::SubEventName(1), std::string("Sum"));
            ::WriteItem(s, EventItems::SubSeries(1), std::string{1, 2});
            for (int k = 1; k <= kClasses; ++k)
                ::WriteItem(s, EventItems::ClassUsed(k), 1);
            for (int r = 1; r <= relays; ++r) {
                ::WriteItem(s, EventItems::RelayNumber(r), r);
                ::WriteItem(s, EventItems::RelayDay(r), 1);
            }
            CBVConfig& prizes = event->Prizes();
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

            CDataRes& card = event->Card();
            card.LoadEvent(e);
            for (int r = 1; r <= relays; ++r) {
                for (int t = 1; t <= kTargets; ++t) {
                    ++nr;
                    comp.Shooters().Put(nr, "", "Skytter " + std::to_string(nr), 1 + nr % kClubs, 1 + nr % kClasses,
                                        "A");
                    RegRecord entry{};
                    entry.relay = static_cast<int16_t>(r);
                    entry.target = static_cast<int16_t>(t);
                    entry.startNr = nr;
                    entry.classNr = static_cast<uint8_t>(1 + nr % kClasses);
                    entry.state = nr % 7 == 0 ? 1 : 0;
                    SetFieldText(entry.category, sizeof entry.category, "A");
                    event->Entries().File().WriteRecKey(&entry);
                    card.LoadCard(r, t);
                    for (int series = 1; series <= 2; ++series) {
                        ShotEntry shots[5];
                        for (int k = 0; k < 5; ++k)
                            shots[k] = {static_cast<uint8_t>(series), static_cast<uint8_t>(k + 1),
                                        static_cast<uint8_t>(60 + (nr * 7 + k * 3 + series) % 49), 0, 0, 0};
                        card.StoreSeries(r, t, series, shots, 5);
                    }
                }
            }
        }
        m_shooters = nr;
    }

    BenchFolder m_folder{"bvbench-results"};  // made and entered before Make runs
    int m_shooters = 0;
};

CDataList& List()
{
    BigCompetition::Get();
    static CDataList list;
    static bool opened = false;
    if (!opened) {
        list.OpenCompetition();
        opened = true;
    }
    return list;
}

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
        lists += static_cast<int64_t>(list.aListDef.size());
        for (const ListDef& def : list.aListDef)
            rows += static_cast<int64_t>(def.bodyRows.size());
        list.Reset();
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
            list.Reset();
            list.printTarget = nullptr;
        }
    }
    state.counters["lists"] = static_cast<double>(lists);
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["shooters"] = BigCompetition::Get().Shooters();
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
